#include "cryptogram/random_bytes.hpp"

#include <sys/wait.h>
#include <unistd.h>

#if defined(__linux__)
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/random.h>
#include <sys/syscall.h>

#include <cerrno>
#include <cstddef>
#endif

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

#if defined(__linux__)
// Makes getrandom() fail with ENOSYS in this process from now on, as on a kernel older than the
// system call or in a sandbox that filters it out. False when the kernel refuses the filter.
bool withoutGetrandom() {
  sock_filter filter[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_getrandom, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | ENOSYS),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  const sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
  return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
         prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

// Where getrandom() is missing, the bytes come from the kernel's device instead.
TEST(RandomBytesTest, WithoutGetrandomTheDeviceServes) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (!withoutGetrandom()) _exit(77);
    std::uint8_t probe = 0;
    if (getrandom(&probe, 1, 0) != -1 || errno != ENOSYS) _exit(78);
    try {
      const Block first = draw();
      const Block second = draw();
      _exit(first != second && first != Block{} ? 0 : 1);
    } catch (const RandomSourceError&) {
      _exit(2);
    }
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "the kernel refuses seccomp filters here";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}
#endif

}  // namespace
}  // namespace sdkcore
