#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "sdkcore/sdkcore.h"
#include "support/card_number_leak.hpp"
#include "support/payment_string_fields.hpp"
#include "support/test_keys.hpp"

namespace {

std::string readFile(const char* path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// The object a host's sink points to. The host marks it dead as soon as removal returns (and
// would free it); a call that finds it dead is a call after removal.
struct HostSink {
  std::atomic<bool> alive{true};
  std::atomic<int> events{0};
};

std::atomic<int> callsAfterRemoval{0};

void onEvent(void* userData, const char*, size_t, const char*, size_t, const char*, size_t) {
  auto* sink = static_cast<HostSink*>(userData);
  if (!sink->alive.load()) ++callsAfterRemoval;
  // Widens the window in which removal meets a delivery in progress.
  std::this_thread::sleep_for(std::chrono::microseconds(50));
  if (!sink->alive.load()) ++callsAfterRemoval;
  ++sink->events;
}

// Makes one bindingParams token for 'order' through the typed path; returns "" on failure.
std::string makeToken(sdkcore_core* core, const std::string& key, const std::string& order) {
  sdkcore_request* request = nullptr;
  sdkcore_token_result* result = nullptr;
  std::string token;
  if (sdkcore_request_new(SDKCORE_VARIANT_BINDING_PARAMS, &request) == SDKCORE_OK &&
      sdkcore_request_set_text(request, SDKCORE_FIELD_PUB_KEY, key.data(), key.size()) == 0 &&
      sdkcore_request_set_text(request, SDKCORE_FIELD_BINDING_ID, "BIND-1", 6) == 0 &&
      sdkcore_request_set_text(request, SDKCORE_FIELD_MD_ORDER, order.data(), order.size()) == 0 &&
      sdkcore_generate_token(core, request, &result) == SDKCORE_OK) {
    const char* text = nullptr;
    size_t length = 0;
    if (sdkcore_token_result_token(result, &text, &length) == SDKCORE_OK && text != nullptr) {
      token.assign(text, length);
    }
  }
  sdkcore_token_result_free(result);
  sdkcore_request_free(request);
  return token;
}

TEST(LogSinkApi, TokensOnFourThreadsWhileSinksComeAndGo) {
  constexpr int kThreads = 4;
  constexpr int kTokensPerThread = 40;
  const std::string publicKey = readFile(SDKCORE_DEMO_PUBLIC_KEY);
  const std::string privateKey = readFile(SDKCORE_DEMO_PRIVATE_KEY);
  sdkcore_core* core = nullptr;
  ASSERT_EQ(sdkcore_core_new(&core), SDKCORE_OK);

  std::vector<std::vector<std::string>> tokens(kThreads);
  std::atomic<int> running{kThreads};
  std::vector<std::thread> workers;
  for (int t = 0; t < kThreads; ++t) {
    workers.emplace_back([&, t] {
      for (int i = 0; i < kTokensPerThread; ++i) {
        tokens[t].push_back(makeToken(core, publicKey, "O-" + std::to_string(t * 1000 + i)));
      }
      --running;
    });
  }
  std::deque<HostSink> sinks;  // stable addresses; dead ones stay to catch late calls
  int cycles = 0;
  while (running.load() > 0) {
    HostSink& sink = sinks.emplace_back();
    std::uint64_t handle = 0;
    ASSERT_EQ(sdkcore_add_log_sink(onEvent, &sink, &handle), SDKCORE_OK);
    std::this_thread::sleep_for(std::chrono::microseconds(200));  // deliveries start meanwhile
    ASSERT_EQ(sdkcore_remove_log_sink(handle), SDKCORE_OK);
    sink.alive = false;
    ++cycles;
  }
  for (auto& worker : workers) worker.join();
  sdkcore_core_free(core);

  EXPECT_EQ(callsAfterRemoval.load(), 0);
  EXPECT_GT(cycles, 0);
  for (int t = 0; t < kThreads; ++t) {
    for (int i = 0; i < kTokensPerThread; ++i) {
      const auto plain = sdkcore::testing::decryptToken(tokens[t][i], privateKey);
      ASSERT_TRUE(plain) << "thread " << t << " token " << i;
      const auto fields = sdkcore::testing::paymentStringFields(*plain);
      ASSERT_EQ(fields.size(), 9u);
      EXPECT_EQ(fields[5], "O-" + std::to_string(t * 1000 + i));
      EXPECT_EQ(fields[6], "BIND-1");
    }
  }
}

// A sink that removes itself from inside its own callback.
struct SelfRemovingSink {
  std::uint64_t handle = 0;
  int events = 0;
  int removeStatus = -1;
};

void removeSelf(void* userData, const char*, size_t, const char*, size_t, const char*, size_t) {
  auto* sink = static_cast<SelfRemovingSink*>(userData);
  if (++sink->events == 1) sink->removeStatus = sdkcore_remove_log_sink(sink->handle);
}

TEST(LogSinkApi, SinkRemovingItselfReturnsAtOnceAndHearsNothingMore) {
  const std::string publicKey = readFile(SDKCORE_DEMO_PUBLIC_KEY);
  sdkcore_core* core = nullptr;
  ASSERT_EQ(sdkcore_core_new(&core), SDKCORE_OK);
  SelfRemovingSink sink;
  ASSERT_EQ(sdkcore_add_log_sink(removeSelf, &sink, &sink.handle), SDKCORE_OK);
  EXPECT_FALSE(makeToken(core, publicKey, "ORDER-1").empty());  // several events, one delivered
  EXPECT_FALSE(makeToken(core, publicKey, "ORDER-2").empty());
  sdkcore_core_free(core);
  EXPECT_EQ(sink.removeStatus, SDKCORE_OK);
  EXPECT_EQ(sink.events, 1);
}

// A card number typed into any other field, in any form, reaches a C sink masked.
struct FieldCase {
  int variant;
  int field;
};

void appendEvent(void* userData, const char*, size_t, const char* message, size_t length,
                 const char*, size_t) {
  static_cast<std::string*>(userData)->append(message, length).append("\n");
}

TEST(LogSinkApi, CardNumberInAnotherFieldIsMasked) {
  const std::string publicKey = readFile(SDKCORE_DEMO_PUBLIC_KEY);
  const FieldCase fields[] = {
      {SDKCORE_VARIANT_CARD_PARAMS, SDKCORE_FIELD_CARDHOLDER},
      {SDKCORE_VARIANT_CARD_PARAMS, SDKCORE_FIELD_MD_ORDER},
      {SDKCORE_VARIANT_CARD_PARAMS, SDKCORE_FIELD_EXPIRY_MMYY},
      {SDKCORE_VARIANT_CARD_PARAMS, SDKCORE_FIELD_PUB_KEY},
      {SDKCORE_VARIANT_BINDING_PARAMS, SDKCORE_FIELD_BINDING_ID},
      {SDKCORE_VARIANT_STORED_PAYMENT_METHOD_PARAMS, SDKCORE_FIELD_STORED_PAYMENT_METHOD_ID}};
  sdkcore_core* core = nullptr;
  ASSERT_EQ(sdkcore_core_new(&core), SDKCORE_OK);
  for (const sdkcore::testing::PanForm& form : sdkcore::testing::panForms()) {
    for (const FieldCase& c : fields) {
      std::string log;
      uint64_t handle = 0;
      ASSERT_EQ(sdkcore_add_log_sink(appendEvent, &log, &handle), SDKCORE_OK);
      sdkcore_request* request = nullptr;
      ASSERT_EQ(sdkcore_request_new(c.variant, &request), SDKCORE_OK);
      // Every field the variant has gets a valid value, then the field under test the number.
      const std::pair<int, std::string> texts[] = {
          {SDKCORE_FIELD_PAN, "4111111111111111"}, {SDKCORE_FIELD_CVC, "123"},
          {SDKCORE_FIELD_EXPIRY_MMYY, "12/30"},    {SDKCORE_FIELD_MD_ORDER, "ORDER-1"},
          {SDKCORE_FIELD_BINDING_ID, "BIND-1"},    {SDKCORE_FIELD_PUB_KEY, publicKey},
          {c.field, "No. " + form.text + " !"}};
      for (const auto& [field, text] : texts) {
        sdkcore_request_set_text(request, field, text.data(), text.size());
      }
      sdkcore_token_result* result = nullptr;
      EXPECT_EQ(sdkcore_generate_token(core, request, &result), SDKCORE_OK);
      sdkcore_token_result_free(result);
      sdkcore_request_free(request);
      ASSERT_EQ(sdkcore_remove_log_sink(handle), SDKCORE_OK);
      const std::string what = form.name + " in field " + std::to_string(c.field) + ":\n" + log;
      EXPECT_NE(log.find(form.lastFour + " !"), std::string::npos) << what;  // it was logged
      EXPECT_FALSE(sdkcore::testing::showsPanDigits(log)) << what;
    }
  }
  sdkcore_core_free(core);
}

// A time stamp is a number of seconds: a card number given as one is masked too.
TEST(LogSinkApi, CardNumberAsTheTimeStampIsMasked) {
  const std::string publicKey = readFile(SDKCORE_DEMO_PUBLIC_KEY);
  sdkcore_core* core = nullptr;
  ASSERT_EQ(sdkcore_core_new(&core), SDKCORE_OK);
  std::string log;
  uint64_t handle = 0;
  ASSERT_EQ(sdkcore_add_log_sink(appendEvent, &log, &handle), SDKCORE_OK);
  sdkcore_request* request = nullptr;
  ASSERT_EQ(sdkcore_request_new(SDKCORE_VARIANT_BINDING_PARAMS_INSTANT, &request), SDKCORE_OK);
  sdkcore_request_set_text(request, SDKCORE_FIELD_BINDING_ID, "B", 1);
  sdkcore_request_set_text(request, SDKCORE_FIELD_PUB_KEY, publicKey.data(), publicKey.size());
  sdkcore_request_set_timestamp(request, std::stod(std::string(sdkcore::testing::kLeakPan)));
  sdkcore_token_result* result = nullptr;
  EXPECT_EQ(sdkcore_generate_token(core, request, &result), SDKCORE_OK);
  sdkcore_token_result_free(result);
  sdkcore_request_free(request);
  ASSERT_EQ(sdkcore_remove_log_sink(handle), SDKCORE_OK);
  sdkcore_core_free(core);
  EXPECT_NE(log.find("timestamp: "), std::string::npos) << log;
  EXPECT_FALSE(sdkcore::testing::showsPanDigits(log)) << log;
}

}  // namespace
