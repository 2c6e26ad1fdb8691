// The markers at the start of a comment and what they say about the declaration it documents: "///",
// "//!", "/**" and "/*!" open documentation blocks, "///<", "//!<", "/**<" and "/*!<" document what
// precedes them, and a "NOLINT" comment only silences a linter. The texts here are comment bodies as the
// scanner hands them over, without their first "//" or "/*" (so "///< x" arrives as "/< x").
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillet {

/// True when the comment body `text` opens with a documentation marker ("/**", "/*!", "///", "//!").
bool isDocumentationComment(std::string_view text);

/// True when the line `line` of a comment body opens with a marker that documents what precedes it.
bool isBackMarked(std::string_view line);

/// How much of the comment body `text`, written after a declaration, documents that declaration: its first
/// line and the lines continuing it (up to a line that opens a documentation block of its own) when the
/// comment began on the declaration's line (`sameLine`) or is marked "<"; nothing otherwise. With
/// `markedOnly`, only a comment marked "<" counts.
size_t trailingCommentLength(std::string_view text, bool sameLine, bool markedOnly);

/// Removes from `text` the lines that are lint suppressions ("NOLINT", "NOLINTNEXTLINE(...)").
void dropLintSuppressions(std::string& text);

}  // namespace quillet
