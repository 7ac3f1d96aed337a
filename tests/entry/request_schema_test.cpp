#include "entry/request_schema.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace sdkcore::schema {
namespace {

constexpr ParamField kKeys[] = {ParamField::PAN,        ParamField::CVC,
                                ParamField::EXPIRY,     ParamField::CARDHOLDER,
                                ParamField::PUB_KEY,    ParamField::STORED_PAYMENT_METHOD_ID,
                                ParamField::BINDING_ID, ParamField::MD_ORDER};

// A text of its own for every field, so that a field read from the wrong member shows.
std::string textOf(ParamField key) { return std::string(caseName(key)) + "-text"; }

class RequestSchema : public ::testing::TestWithParam<std::size_t> {
 protected:
  const Variant& variant() const { return kVariants[GetParam()]; }
};

// The record built from the table and read back through its accessors has exactly the table's
// fields, each in its own member.
TEST_P(RequestSchema, FieldsMatchTheRecordsAccessors) {
  const PaymentParamsVariant record =
      makeRecord(GetParam(), [](const Field& field) { return textOf(field.key); });
  const RequestView view = viewOf(record);
  ASSERT_EQ(view.variant(), GetParam());
  for (const ParamField key : kKeys) {
    const std::string* text = view.text(key);
    if (variant().checked.find(key)) {
      ASSERT_NE(text, nullptr) << caseName(key);
      EXPECT_EQ(*text, textOf(key));
    } else {
      EXPECT_EQ(text, nullptr) << caseName(key);
    }
  }
}

// Only the optional fields of a record can be absent; a required one left out is empty.
TEST_P(RequestSchema, RequiredFlagsMatchTheRecordsTypes) {
  const PaymentParamsVariant record =
      makeRecord(GetParam(), [](const Field&) { return std::optional<std::string>(); });
  const RequestView view = viewOf(record);
  for (const Field& field : variant().checked.fields()) {
    const std::string* text = view.text(field.key);
    EXPECT_EQ(text != nullptr, field.required) << caseName(field.key);
    if (text) {
      EXPECT_EQ(*text, "");
    }
  }
}

TEST_P(RequestSchema, NamesMatchTheVariantAndItsTextForm) {
  const PaymentParamsVariant record =
      makeRecord(GetParam(), [](const Field& field) { return textOf(field.key); });
  EXPECT_EQ(caseName(record), variant().caseName);
  EXPECT_EQ(variantNamed(variant().caseName), GetParam());
  const std::string prefix = "SDKCore.PaymentParamsVariant." + std::string(variant().caseName) +
                             "(params: SDKCore." + std::string(variant().typeName) + "(";
  EXPECT_EQ(debugString(record).rfind(prefix, 0), 0u) << debugString(record);
}

// Every order the table gives is the same set of fields, the key last when reading.
TEST_P(RequestSchema, OrdersHoldTheSameFields) {
  const FieldList& read = kReadFields[GetParam()];
  const FieldList& stored = kStoredFields[GetParam()];
  ASSERT_EQ(read.count, variant().checked.count);
  ASSERT_EQ(stored.count, variant().checked.count);
  EXPECT_EQ(read.fields().back().key, ParamField::PUB_KEY);
  for (const Field& field : variant().checked.fields()) {
    EXPECT_TRUE(read.find(field.key)) << caseName(field.key);
    EXPECT_TRUE(stored.find(field.key)) << caseName(field.key);
  }
}

INSTANTIATE_TEST_SUITE_P(Variants, RequestSchema, ::testing::Range<std::size_t>(0, kVariantCount),
                         [](const auto& info) {
                           return std::string(kVariants[info.param].caseName);
                         });

}  // namespace
}  // namespace sdkcore::schema
