// The C side of TokenCostBenchmark: the same card tokens as the Swift side, through the C
// interface directly.
#ifndef TOKEN_COST_H_
#define TOKEN_COST_H_

#include <stddef.h>

// Makes 'count' card tokens with the public key 'pem' on a core of its own, building each request
// anew; returns how many were tokens.
int token_cost_card_tokens(const char* pem, size_t pem_len, int count);

#endif  // TOKEN_COST_H_
