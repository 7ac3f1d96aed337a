#include "cryptogram/random_bytes.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cryptogram/provider_cipher.hpp"
#include "support/openssl_test_provider.hpp"

namespace sdkcore {
namespace {

using Block = std::array<std::uint8_t, 16>;

Block draw() {
  Block block{};
  randomBytes(block);
  return block;
}

// Both buffered sources of random bytes: the built-in one and a provider's batches.
struct Source {
  const char* name;
  std::function<Block()> draw;
};

const ProviderCipher& providerCipher() {
  static const ProviderCipher cipher(std::make_shared<testing::OpenSslTestProvider>());
  return cipher;
}

class ForkedSource : public ::testing::TestWithParam<Source> {};

// The child draws from a buffer that its parent filled just before fork(). Reusing the buffered
// bytes would give the child exactly the bytes the parent draws next. Also run under user-mode
// emulators, which accept MADV_WIPEONFORK and ignore it.
TEST_P(ForkedSource, ChildNeverRepeatsParentBytes) {
  const auto& source = GetParam().draw;
  source();  // fills this thread's buffer
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::array<Block, 4> blocks{};
    for (Block& block : blocks) block = source();
    const bool sent = write(pipeEnds[1], blocks.data(), sizeof blocks) == sizeof blocks;
    _exit(sent ? 0 : 1);
  }
  close(pipeEnds[1]);
  std::array<Block, 4> childBlocks{};
  const ssize_t received = read(pipeEnds[0], childBlocks.data(), sizeof childBlocks);
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_EQ(received, static_cast<ssize_t>(sizeof childBlocks));
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  std::set<Block> parentBlocks;
  for (int i = 0; i < 4; ++i) parentBlocks.insert(source());
  for (const Block& block : childBlocks) EXPECT_EQ(parentBlocks.count(block), 0U);
}

INSTANTIATE_TEST_SUITE_P(Sources, ForkedSource,
                         ::testing::Values(Source{"builtIn", draw},
                                           Source{"provider",
                                                  [] {
                                                    Block block{};
                                                    providerCipher().randomBytes(block);
                                                    return block;
                                                  }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RandomBytesTest, DrawsAreFreshAcrossRefillsAndLargeRequests) {
  std::set<Block> seen;
  for (int i = 0; i < 1000; ++i) seen.insert(draw());  // several refills of the buffer
  EXPECT_EQ(seen.size(), 1000U);
  std::vector<std::uint8_t> large(64 * 1024);
  randomBytes(large);
  EXPECT_NE(std::set<std::uint8_t>(large.begin(), large.end()).size(), 1U);
}

}  // namespace
}  // namespace sdkcore
