#include "library/query/statement_splitter.h"


bool IsSqlSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool StatementSplitter::next(std::string& piece) {
  piece.clear();
  while (cursor_ < text_.size() && (IsSqlSpace(text_[cursor_]) || text_[cursor_] == ';')) ++cursor_;
  if (cursor_ >= text_.size()) {
    endedText_ = true;
    return false;
  }
  const size_t start = cursor_;
  bool inQuote = false;
  bool inComment = false;
  size_t end = start;
  for (; end < text_.size(); ++end) {
    const char c = text_[end];
    if (inComment) {
      if (c == '\n') inComment = false;
      continue;
    }
    if (c == '\'') {
      inQuote = !inQuote;
    } else if (!inQuote && c == '-' && end + 1 < text_.size() && text_[end + 1] == '-') {
      inComment = true;
      ++end;
    } else if (!inQuote && c == ';') {
      break;
    }
  }
  piece.assign(text_.substr(start, end - start));
  if (end >= text_.size()) {
    cursor_ = text_.size();
    endedText_ = true;
  } else {
    cursor_ = end + 1;
    endedText_ = cursor_ >= text_.size();
  }
  return true;
}

std::string StatementTitle(std::string_view statement) {
  constexpr size_t kMaxTitle = 255;
  std::string title;
  bool pendingBlank = false;
  for (char c : statement) {
    if (IsSqlSpace(c)) {
      pendingBlank = !title.empty();
      continue;
    }
    if (pendingBlank) title += ' ';
    pendingBlank = false;
    title += c;
    if (title.size() >= kMaxTitle) break;
  }
  if (title.size() > kMaxTitle) title.resize(kMaxTitle);
  // Never leave half a UTF-8 character at the cut.
  size_t keep = title.size();
  if (keep == kMaxTitle) {
    size_t lead = keep;
    while (lead > 0 && (static_cast<unsigned char>(title[lead - 1]) & 0xC0) == 0x80) --lead;
    if (lead > 0) {
      const unsigned char first = static_cast<unsigned char>(title[lead - 1]);
      const size_t need = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
      if (keep - (lead - 1) < need) keep = lead - 1;
    }
  }
  title.resize(keep);
  return title;
}
