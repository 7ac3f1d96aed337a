#include <map>
#include <string>
#include <utility>

#include "regex/case_folding.hpp"
#include "regex/program.hpp"
#include "regex/syntax_tree.hpp"

namespace sdkcore::regex {
namespace {

bool consumes(Op op) {
  return op == Op::character || op == Op::set || op == Op::any || op == Op::foldStep;
}

class Compiler {
 public:
  Compiler(SyntaxTree tree, bool caseInsensitive)
      : tree_(std::move(tree)), caseInsensitive_(caseInsensitive) {
    program_.sets = std::move(tree_.sets);
  }

  Program run() {
    program_.anchoredStart = startsWithBegin(tree_.root);
    node(tree_.root);
    emit({Op::match, 0, 0, 0});
    return std::move(program_);
  }

 private:
  std::uint32_t here() const { return static_cast<std::uint32_t>(program_.code.size()); }
  Instruction& at(std::uint32_t pc) { return program_.code[pc]; }

  // Appends 'instruction', which goes on at the instruction after it unless patched.
  std::uint32_t emit(Instruction instruction) {
    if (program_.code.size() >= kMaxInstructions) {
      throw PatternError("pattern that compiles to more than " + std::to_string(kMaxInstructions) +
                             " instructions",
                         0);
    }
    instruction.next = here() + 1;
    program_.code.push_back(instruction);
    return here() - 1;
  }

  bool startsWithBegin(std::uint32_t n) const {
    const Node& node = tree_.nodes[n];
    if (node.kind == NodeKind::begin) return true;
    if (node.kind == NodeKind::group) return startsWithBegin(node.children[0]);
    return node.kind == NodeKind::concat && startsWithBegin(node.children[0]);
  }

  void node(std::uint32_t n) {
    const Node& node = tree_.nodes[n];
    switch (node.kind) {
      case NodeKind::empty:
        return;
      case NodeKind::literal:
        return literal(node.codePoint);
      case NodeKind::set:
        emit({Op::set, 0, 0, node.set});
        return;
      case NodeKind::any:
        emit({Op::any, 0, 0, 0});
        return;
      case NodeKind::begin:
        emit({Op::assertBegin, 0, 0, 0});
        return;
      case NodeKind::end:
        emit({Op::assertEnd, 0, 0, 0});
        return;
      case NodeKind::group:
        return this->node(node.children[0]);
      case NodeKind::concat:
        return sequence(node.children);
      case NodeKind::alternate:
        return alternation(node.children);
      case NodeKind::repeat:
        return repeat(node);
    }
  }

  // With case-insensitive matching, a run of two or more literal characters compares in full
  // case folding (so "ss" meets "ß") while a single one compares by simple case folding: as ICU
  // matches them.
  void sequence(const std::vector<std::uint32_t>& children) {
    for (std::size_t i = 0; i < children.size();) {
      std::size_t run = i;
      while (caseInsensitive_ && run < children.size() &&
             tree_.nodes[children[run]].kind == NodeKind::literal) {
        ++run;
      }
      if (run - i >= 2) {
        std::vector<char32_t> folded;
        for (; i < run; ++i) appendFolding(folded, tree_.nodes[children[i]].codePoint);
        foldedRun(folded);
      } else {
        node(children[i++]);
      }
    }
  }

  static void appendFolding(std::vector<char32_t>& out, char32_t c) {
    const FullFolding f = fullCaseFold(c);
    out.insert(out.end(), f.codePoints.begin(), f.codePoints.begin() + f.length);
  }

  void literal(char32_t c) {
    if (!caseInsensitive_) {
      emit({Op::character, 0, 0, c});
      return;
    }
    if (fullCaseFold(c).length > 1) {
      std::vector<char32_t> folded;
      appendFolding(folded, c);
      return foldedRun(folded);
    }
    const std::uint32_t set = caseVariants(c);
    if (const std::optional<char32_t> only = program_.sets[set].onlyMember()) {
      emit({Op::character, 0, 0, *only});
    } else {
      emit({Op::set, 0, 0, set});
    }
  }

  // The set of the case variants of 'c', made once per code point of the pattern.
  std::uint32_t caseVariants(char32_t c) {
    const auto [found, added] =
        caseVariantSets_.try_emplace(c, static_cast<std::uint32_t>(program_.sets.size()));
    if (added) program_.sets.push_back(CharSet::single(c).caseClosure());
    return found->second;
  }

  void foldedRun(const std::vector<char32_t>& folded) {
    const auto offset = static_cast<std::uint32_t>(program_.foldText.size());
    program_.foldText.insert(program_.foldText.end(), folded.begin(), folded.end());
    const auto length = static_cast<std::uint32_t>(folded.size());
    const std::uint32_t end = here() + length;
    for (std::uint32_t i = 0; i < length; ++i) {
      const std::uint32_t pc = emit({Op::foldStep, 0, length - i, offset + i});
      at(pc).next = end;
    }
  }

  void alternation(const std::vector<std::uint32_t>& children) {
    std::vector<std::uint32_t> exits;
    for (std::size_t i = 0; i + 1 < children.size(); ++i) {
      const std::uint32_t split = emit({Op::split, 0, 0, 0});
      node(children[i]);
      exits.push_back(emit({Op::jump, 0, 0, 0}));
      at(split).alt = here();
    }
    node(children.back());
    for (const std::uint32_t exit : exits) at(exit).next = here();
  }

  void repeat(const Node& r) {
    const std::uint32_t body = r.children[0];
    if (r.max != kUnbounded) {
      for (std::uint32_t i = 0; i < r.min; ++i) node(body);
      return optionalCopies(body, r.max - r.min, r.greedy);
    }
    if (!matchesEmpty(tree_, body)) return unboundedLoop(body, r.min, r.greedy);
    if (!r.greedy) {
      throw PatternError("lazy quantifier on what can match empty is not supported", r.offset);
    }
    if (r.min <= 1) return emptyCheckedLoop(body, r.min == 1);
    emptyCheckedBlock(body, r.min);
  }

  // 'count' more optional copies of 'body': X{n,m} as n copies and then (X(X...)?)?.
  void optionalCopies(std::uint32_t body, std::uint32_t count, bool greedy) {
    std::vector<std::uint32_t> splits;
    for (std::uint32_t i = 0; i < count; ++i) {
      splits.push_back(emit({Op::split, 0, 0, 0}));
      node(body);
    }
    for (const std::uint32_t split : splits) prefer(split, split + 1, here(), greedy);
  }

  void prefer(std::uint32_t split, std::uint32_t body, std::uint32_t exit, bool greedy) {
    at(split).next = greedy ? body : exit;
    at(split).alt = greedy ? exit : body;
  }

  // X{n,} for a body that always consumes: n - 1 copies and X+, or X* when n is 0.
  void unboundedLoop(std::uint32_t body, std::uint32_t min, bool greedy) {
    for (std::uint32_t i = 1; i < min; ++i) node(body);
    if (min == 0) {
      const std::uint32_t split = emit({Op::split, 0, 0, 0});
      node(body);
      at(emit({Op::jump, 0, 0, 0})).next = split;
      prefer(split, split + 1, here(), greedy);
      return;
    }
    const std::uint32_t start = here();
    node(body);
    const std::uint32_t split = emit({Op::split, 0, 0, 0});
    prefer(split, start, here(), greedy);
  }

  // X* or X+ for a body that can match empty. As in a backtracking matcher, an iteration that
  // consumed nothing leaves the loop: the first pass through the body runs in a copy whose way
  // to the end leaves the loop, and whose consuming steps go on in the original body, whose
  // end loops.
  void emptyCheckedLoop(std::uint32_t body, bool atLeastOnce) {
    const std::uint32_t entry = emit({Op::jump, 0, 0, 0});
    const std::uint32_t begin = here();
    node(body);
    const std::uint32_t loop = emit({Op::split, 0, 0, 0});
    const std::uint32_t firstPass = copyOfFirstPass(begin, loop);
    at(entry).next = atLeastOnce ? firstPass : loop;
    at(loop).next = firstPass;
    at(loop).alt = here();
  }

  // X{n,} with n >= 2 for a body that can match empty: n copies, leaving when all of them
  // together consumed nothing, and then X* (as ICU counts such a loop).
  void emptyCheckedBlock(std::uint32_t body, std::uint32_t min) {
    const std::uint32_t entry = emit({Op::jump, 0, 0, 0});
    const std::uint32_t begin = here();
    for (std::uint32_t i = 0; i < min; ++i) node(body);
    const std::uint32_t loopStart = here();
    emptyCheckedLoop(body, false);
    const std::uint32_t leave = emit({Op::jump, 0, 0, 0});
    const std::uint32_t firstPass = copyOfFirstPass(begin, loopStart);
    at(entry).next = firstPass;
    at(leave).next = here();
  }

  // Copies the instructions [begin, end) to the end of the program: moves that consume nothing
  // stay in the copy and, where they reach 'end', go to the instruction after the copy; moves
  // that consume go on in the original. Returns where the copy starts.
  std::uint32_t copyOfFirstPass(std::uint32_t begin, std::uint32_t end) {
    const std::uint32_t copy = here();
    const std::uint32_t after = copy + (end - begin);
    const auto moved = [&](std::uint32_t target) {
      if (target == end) return after;
      return target >= begin && target < end ? target - begin + copy : target;
    };
    for (std::uint32_t pc = begin; pc < end; ++pc) {
      Instruction instruction = program_.code[pc];
      const std::uint32_t next = instruction.next;
      emit(instruction);
      Instruction& copied = program_.code.back();
      copied.next = consumes(instruction.op) ? next : moved(next);
      if (instruction.op == Op::split) copied.alt = moved(instruction.alt);
    }
    return copy;
  }

  SyntaxTree tree_;
  bool caseInsensitive_;
  Program program_;
  std::map<char32_t, std::uint32_t> caseVariantSets_;
};

}  // namespace

Program compile(std::string_view pattern, bool caseInsensitive) {
  return Compiler(parse(pattern, caseInsensitive), caseInsensitive).run();
}

std::optional<CharSet> singleCharacterSet(std::string_view pattern, bool caseInsensitive) {
  SyntaxTree tree = parse(pattern, caseInsensitive);
  const Node& root = tree.nodes[tree.root];
  switch (root.kind) {
    case NodeKind::set:
      return std::move(tree.sets[root.set]);
    case NodeKind::literal: {
      CharSet set = CharSet::single(root.codePoint);
      if (!caseInsensitive) return set;
      if (fullCaseFold(root.codePoint).length > 1) return std::nullopt;
      return set.caseClosure();
    }
    case NodeKind::any: {
      CharSet terminators;
      terminators.add(0x0A, 0x0D);
      terminators.add(0x85, 0x85);
      terminators.add(0x2028, 0x2029);
      terminators.normalize();
      return terminators.complement();
    }
    default:
      return std::nullopt;
  }
}

}  // namespace sdkcore::regex
