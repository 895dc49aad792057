#pragma once

#ifndef PCRE2_CODE_UNIT_WIDTH
#define PCRE2_CODE_UNIT_WIDTH 8
#endif
#include <memory>

#include <pcre2.h>

// Owners for the PCRE2 handles: each one is freed by its own pcre2_*_free, and a
// null handle (a failed create) is simply never freed.
namespace tessaly::pcre2 {

struct Free {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
  void operator()(pcre2_compile_context* context) const { pcre2_compile_context_free(context); }
  void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
  void operator()(pcre2_jit_stack* stack) const { pcre2_jit_stack_free(stack); }
};

using Code = std::unique_ptr<pcre2_code, Free>;
using MatchData = std::unique_ptr<pcre2_match_data, Free>;
using CompileContext = std::unique_ptr<pcre2_compile_context, Free>;
using MatchContext = std::unique_ptr<pcre2_match_context, Free>;
using JitStack = std::unique_ptr<pcre2_jit_stack, Free>;

}  // namespace tessaly::pcre2
