#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace sdkcore {

// DER encodings of an RSA public key, written from its numbers so that every key text (PEM or
// Base64 of a SubjectPublicKeyInfo, PKCS #1 key or certificate) reaches a crypto provider in the
// same canonical forms. Thread-safe (stateless); throw only std::bad_alloc.

// The PKCS #1 RSAPublicKey ::= SEQUENCE { modulus INTEGER, publicExponent INTEGER } of the
// big-endian magnitudes 'modulus' and 'exponent' (no leading zero byte, not empty).
std::vector<std::uint8_t> encodeRsaPublicKey(std::span<const std::uint8_t> modulus,
                                             std::span<const std::uint8_t> exponent);

// The SubjectPublicKeyInfo of an rsaEncryption key (NULL parameters) around the DER of its
// RSAPublicKey, 'pkcs1'.
std::vector<std::uint8_t> encodeRsaSubjectPublicKeyInfo(std::span<const std::uint8_t> pkcs1);

}  // namespace sdkcore
