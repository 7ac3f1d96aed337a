#include "regex/matcher.hpp"

#include <algorithm>
#include <utility>

#include "regex/case_folding.hpp"
#include "unicode/utf8.hpp"

namespace sdkcore::regex {
namespace {

unicode::Decoded decode(std::string_view text, std::size_t at) noexcept {
  const auto byte = static_cast<unsigned char>(text[at]);
  if (byte < 0x80) return {byte, 1};
  return unicode::decodeAt(text, at);
}

// Where ICU's "$" matches without the multiline option: at the end, or before one line
// terminator that ends the text (CR LF counting as one, and not between its CR and LF).
bool atEndOfInput(std::string_view text, std::size_t at) noexcept {
  if (at == text.size()) return true;
  const unicode::Decoded d = decode(text, at);
  if (at + d.length == text.size()) {
    const bool lineFeedAfterCr = d.codePoint == '\n' && at > 0 && text[at - 1] == '\r';
    return isLineTerminator(d.codePoint) && !lineFeedAfterCr;
  }
  return at + 2 == text.size() && text[at] == '\r' && text[at + 1] == '\n';
}

}  // namespace

Matcher::Matcher(const Program& program)
    : program_(program),
      threads_(2 * program.code.size()),
      stack_(2 * program.code.size() + 2),
      seen_(program.code.size(), 0) {}

void Matcher::nextGeneration() noexcept {
  if (++generation_ == 0) {
    std::fill(seen_.begin(), seen_.end(), 0);
    generation_ = 1;
  }
}

// Follows the moves that consume nothing from 'pc' at byte 'at', depth first in order of
// priority, and appends the consuming and matching instructions reached to 'list'. An
// instruction already reached at this position is not followed again: the thread that reached it
// first has the higher priority and the same future.
void Matcher::addThread(ThreadList& list, std::uint32_t pc, std::size_t start,
                        std::size_t at) noexcept {
  std::size_t depth = 0;
  stack_[depth++] = pc;
  while (depth > 0) {
    const std::uint32_t current = stack_[--depth];
    if (seen_[current] == generation_) continue;
    seen_[current] = generation_;
    const Instruction& instruction = program_.code[current];
    switch (instruction.op) {
      case Op::jump:
        stack_[depth++] = instruction.next;
        break;
      case Op::split:
        stack_[depth++] = instruction.alt;
        stack_[depth++] = instruction.next;
        break;
      case Op::assertBegin:
        if (at == 0) stack_[depth++] = instruction.next;
        break;
      case Op::assertEnd:
        if (atEndOfInput(text_, at)) stack_[depth++] = instruction.next;
        break;
      default:
        list.threads[list.size++] = Thread{current, start};
        break;
    }
  }
}

// Where a thread at 'instruction' goes on after consuming 'c', if it can.
std::optional<std::uint32_t> Matcher::step(const Instruction& instruction,
                                           char32_t c) const noexcept {
  switch (instruction.op) {
    case Op::character:
      if (c == instruction.arg) return instruction.next;
      return std::nullopt;
    case Op::set:
      if (program_.sets[instruction.arg].contains(c)) return instruction.next;
      return std::nullopt;
    case Op::any:
      if (!isLineTerminator(c)) return instruction.next;
      return std::nullopt;
    case Op::foldStep: {
      const FullFolding folded = fullCaseFold(c);
      const std::uint32_t remaining = instruction.alt;
      if (folded.length > remaining) return std::nullopt;
      const char32_t* expected = program_.foldText.data() + instruction.arg;
      if (!std::equal(folded.codePoints.begin(), folded.codePoints.begin() + folded.length,
                      expected)) {
        return std::nullopt;
      }
      return instruction.next - (remaining - folded.length);
    }
    default:
      return std::nullopt;
  }
}

std::optional<Span> Matcher::find(std::string_view text, std::size_t from, bool anyMatch) noexcept {
  text_ = text;
  const bool anchored = program_.anchoredStart;
  if (anchored && from > 0) return std::nullopt;
  ThreadList current{threads_.data(), 0};
  ThreadList next{threads_.data() + program_.code.size(), 0};
  std::optional<Span> found;
  nextGeneration();
  addThread(current, 0, from, from);
  for (std::size_t at = from;;) {
    const bool end = at == text.size();
    const unicode::Decoded d = end ? unicode::Decoded{0, 0} : decode(text, at);
    nextGeneration();
    next.size = 0;
    for (std::size_t i = 0; i < current.size; ++i) {
      const Thread& thread = current.threads[i];
      const Instruction& instruction = program_.code[thread.pc];
      if (instruction.op == Op::match) {
        found = Span{thread.start, at};
        break;
      }
      if (end) continue;
      if (const std::optional<std::uint32_t> target = step(instruction, d.codePoint)) {
        addThread(next, *target, thread.start, at + d.length);
      }
    }
    if (end || (found && anyMatch)) return found;
    at += d.length;
    if (!found && !anchored) addThread(next, 0, at, at);
    std::swap(current, next);
    if (current.size == 0 && (found || anchored)) return found;
  }
}

}  // namespace sdkcore::regex
