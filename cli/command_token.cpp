#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <mutex>
#include <set>
#include <string_view>
#include <utility>

#include "batch.hpp"
#include "batch_progress.hpp"
#include "cli_support.hpp"
#include "commands.hpp"
#include "demo_key.hpp"
#include "log_sink.hpp"
#include "sdkcore/logger.hpp"
#include "sdkcore/sdk_core.hpp"
#include "token_request.hpp"

namespace sdkcore::cli {
namespace {

constexpr const char* kUsage = R"(Usage: sdkcore token [OPTIONS]

Builds one payment token with SdkCore::generateWithConfig and prints {"token": "..."} (exit 0)
or {"errors": {"FIELD": "code"}} (exit 1).

The request, from field flags:
  --pan P --cvc C --expiry MM/YY [--cardholder NAME] --order ORDER   cardParams
  --pan P --cvc C --expiry MM/YY [--cardholder NAME]                 cardParamsInstant
  the same with --new-card                                           newPaymentMethodParams
  --binding-id ID [--cvc C] --order ORDER                            bindingParams
  --binding-id ID [--cvc C]                                          bindingParamsInstant
  --stored-id PM_ID [--cvc C]                                        storedPaymentMethodParams
or from JSON:
  --request FILE|-     one request {"variant": ..., "params": {...}, "registeredFrom": ...,
                       "timestamp": ...}; - reads standard input
  --batch              JSON Lines on standard input, one result line per request, in order;
                       a line that is no valid request gets {"error": "..."} and the batch goes on
  --jobs N             with --batch: work on N requests at a time (default 1)
  --progress, --no-progress
                       with --batch: show (or hide) a progress line on standard error; shown by
                       default only when standard error is a terminal

Options:
  --pubkey FILE        PEM public key to encrypt with; replaces the request's pubKey. Without it
                       (and without pubKey in a request) the built-in demo key is used: a published
                       test key, never for real card data.
  --from SOURCE        ZKIT_CORE (default), ZKIT_FORMS or ZKIT_PAYMENT
  --timestamp SECONDS  seconds since 1970, fraction allowed (default: now)
  --log                write the library's log events to standard error, one line each
  --help               print this help

A request's own registeredFrom and timestamp win over --from and --timestamp.
Exit status: 0 token, 1 the library answered with errors, 2 usage or input error.
)";

constexpr std::size_t kMaxBatchLine = 1024 * 1024;
constexpr unsigned kMaxJobs = 256;

const std::set<std::string> kValueFlags = {"--pan",   "--cvc",        "--expiry",    "--cardholder",
                                           "--order", "--binding-id", "--stored-id", "--pubkey",
                                           "--from",  "--request",    "--timestamp", "--jobs"};
const std::set<std::string> kSwitchFlags = {"--new-card", "--log", "--batch", "--progress",
                                            "--no-progress"};
constexpr const char* kBatchOnlyFlags[] = {"--jobs", "--progress", "--no-progress"};
constexpr const char* kFieldFlags[] = {"--pan",   "--cvc",        "--expiry",    "--cardholder",
                                       "--order", "--binding-id", "--stored-id", "--new-card"};

unsigned parseJobs(const ParsedArgs& args) {
  const std::optional<std::string> text = args.value("--jobs");
  if (!text) return 1;
  unsigned jobs = 0;
  const char* end = text->data() + text->size();
  const auto [ptr, ec] = std::from_chars(text->data(), end, jobs);
  if (text->empty() || ec != std::errc() || ptr != end || jobs == 0 || jobs > kMaxJobs) {
    throw UsageError("--jobs needs a whole number from 1 to " + std::to_string(kMaxJobs));
  }
  return jobs;
}

// The defaults that the command line gives every request; 'onDefaultPubKeyUsed' warns about the
// demo key.
TokenDefaults defaultsFrom(const ParsedArgs& args, std::function<void()> onDefaultPubKeyUsed) {
  TokenDefaults defaults;
  if (auto file = args.value("--pubkey")) defaults.pubKeyOverride = readFile(*file, "--pubkey");
  defaults.defaultPubKey = std::string(demoPublicKeyPem());
  defaults.onDefaultPubKeyUsed = std::move(onDefaultPubKeyUsed);
  if (auto from = args.value("--from"))
    defaults.registeredFrom = parseRegisteredFrom(*from, "--from");
  if (auto timestamp = args.value("--timestamp")) defaults.timestamp = parseTimestamp(*timestamp);
  return defaults;
}

std::string compactLine(const nlohmann::json& json) {
  return json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

int runBatch(const ParsedArgs& args, const TokenDefaults& defaults, BatchProgress& progress) {
  const unsigned jobs = parseJobs(args);
  SdkCore core;
  const LineWork work = [&](const InputLine& line) -> std::string {
    bool failed = true;
    std::string result;
    try {
      if (line.tooLong) {
        throw UsageError("line longer than " + std::to_string(kMaxBatchLine) + " bytes");
      }
      if (line.text.empty()) throw UsageError("empty line");
      const TokenResult answer = core.generateWithConfig(configFromJsonText(line.text, defaults));
      failed = !answer.token;
      result = compactLine(tokenResultJson(answer));
    } catch (const std::exception& error) {
      result = compactLine({{"error", error.what()}});
    }
    progress.count(failed);
    return result;
  };
  LineReader reader(STDIN_FILENO, kMaxBatchLine);
  try {
    runOrderedBatch(reader, stdout, jobs, work);
  } catch (const BatchOutputError& failed) {
    progress.finish();
    throw outputError(failed.error);
  } catch (...) {
    progress.finish();
    throw;
  }
  progress.finish();
  if (reader.failed()) throw UsageError("cannot read standard input");
  return kExitSuccess;
}

int runSingle(const ParsedArgs& args, const TokenDefaults& defaults) {
  const std::optional<std::string> request = args.value("--request");
  const SDKCoreConfig config =
      request ? configFromJsonText(*request == "-" ? readStdin() : readFile(*request, "--request"),
                                   defaults)
              : configFromFlags(args, defaults);
  SdkCore core;
  const TokenResult result = core.generateWithConfig(config);
  printJsonLine(tokenResultJson(result));
  return result.token ? kExitSuccess : kExitFailure;
}

}  // namespace

int runToken(const Args& rawArgs) {
  const ParsedArgs args = parseArgs(rawArgs, kValueFlags, kSwitchFlags, 0);
  if (args.help) return printUsage(kUsage);
  const bool batch = args.has("--batch");
  if (batch || args.has("--request")) {
    for (const char* flag : kFieldFlags) {
      if (args.has(flag)) {
        throw UsageError(std::string("option ") + flag + " cannot be used with " +
                         (batch ? "--batch" : "--request"));
      }
    }
    if (batch && args.has("--request"))
      throw UsageError("option --request cannot be used with --batch");
  }
  for (const char* flag : kBatchOnlyFlags) {
    if (!batch && args.has(flag))
      throw UsageError(std::string("option ") + flag + " needs --batch");
  }
  if (args.has("--progress") && args.has("--no-progress")) {
    throw UsageError("options --progress and --no-progress cannot be used together");
  }
  const bool showProgress =
      batch && (args.has("--progress") || (!args.has("--no-progress") && isatty(STDERR_FILENO)));
  // Every line for standard error goes through 'progress', which clears the progress line
  // before it and redraws it after.
  const auto progress = std::make_shared<BatchProgress>(stderr, showProgress);
  const StreamLogSink::LineWriter writeLine = [progress](std::string_view line) {
    progress->writeLine(line);
  };
  std::once_flag warned;
  const TokenDefaults defaults = defaultsFrom(args, [&warned, &writeLine] {
    std::call_once(warned, [&] { writeLine(demoKeyWarning("token")); });
  });
  if (args.has("--log"))
    Logger::shared().addLogInterface(std::make_shared<StreamLogSink>(writeLine));
  return batch ? runBatch(args, defaults, *progress) : runSingle(args, defaults);
}

}  // namespace sdkcore::cli
