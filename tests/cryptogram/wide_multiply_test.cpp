#include "cryptogram/wide_multiply.hpp"

#include <cstdint>
#include <random>

#include <gtest/gtest.h>

namespace sdkcore {
namespace {

constexpr std::uint64_t kMax = ~std::uint64_t{0};

struct ProductCase {
  std::uint64_t a;
  std::uint64_t b;
  WideProduct product;
};

// Carries out of every 32-bit column, and products with a zero or one factor.
constexpr ProductCase kProducts[] = {
    {0, kMax, {0, 0}},
    {1, kMax, {0, kMax}},
    {kMax, kMax, {kMax - 1, 1}},
    {std::uint64_t{1} << 32, std::uint64_t{1} << 32, {1, 0}},
    {0xFFFFFFFF, 0xFFFFFFFF, {0, 0xFFFFFFFE00000001}},
    {0x0123456789ABCDEF, 0xFEDCBA9876543210, {0x0121FA00AD77D742, 0x2236D88FE5618CF0}},
};

TEST(WideMultiply, PortableProductsAreExact) {
  for (const ProductCase& row : kProducts) {
    EXPECT_EQ(multiplyPortable(row.a, row.b), row.product) << row.a << " * " << row.b;
    EXPECT_EQ(multiplyWide(row.a, row.b), row.product) << row.a << " * " << row.b;
  }
}

// Where the compiler has a 128-bit integer, multiplyWide uses it: both ways agree.
TEST(WideMultiply, PortableAgreesWithTheFastPath) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 10000; ++i) {
    const std::uint64_t a = random() >> (random() % 64), b = random() >> (random() % 64);
    ASSERT_EQ(multiplyPortable(a, b), multiplyWide(a, b)) << a << " * " << b;
  }
}

}  // namespace
}  // namespace sdkcore
