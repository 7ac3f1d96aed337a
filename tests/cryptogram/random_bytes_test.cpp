#include "cryptogram/random_bytes.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <set>
#include <vector>

#include <gtest/gtest.h>

namespace sdkcore {
namespace {

using Block = std::array<std::uint8_t, 16>;

Block draw() {
  Block block{};
  randomBytes(block);
  return block;
}

// The child draws from a buffer that its parent filled just before fork(). Reusing the buffered
// bytes would give the child exactly the bytes the parent draws next.
TEST(RandomBytesTest, ChildAfterForkNeverRepeatsParentBytes) {
  draw();  // fills this thread's buffer
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::array<Block, 4> blocks{};
    for (Block& block : blocks) block = draw();
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
  for (int i = 0; i < 4; ++i) parentBlocks.insert(draw());
  for (const Block& block : childBlocks) EXPECT_EQ(parentBlocks.count(block), 0U);
}

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
