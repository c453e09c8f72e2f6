// Splits the SQL text of a result window into the statements it holds and
// makes the window title from it.
#pragma once

#include <string>
#include <string_view>

// Walks a text piece by piece. Pieces end at a ';' outside single quotes or
// at the end of the text; inside a "--" comment (to the end of its line)
// neither ';' nor '\'' counts, and the comment stays part of its piece.
// Double quotes have no meaning. White space and ';' between pieces are
// skipped, so a piece is never empty or blank.
class StatementSplitter {
 public:
  explicit StatementSplitter(std::string_view text) : text_(text) {}

  // The next piece, without its ending ';'; false when only white space and
  // semicolons are left.
  bool next(std::string& piece);
  // True when nothing follows the last piece (it ended the text, or only
  // its ';' did).
  bool lastPieceEndedText() const { return endedText_; }

 private:
  std::string_view text_;
  size_t cursor_ = 0;
  bool endedText_ = false;
};

// White space as the run sees it: blank, tab, CR, LF, vertical tab, form feed.
bool IsSqlSpace(char c);

// The window title of a statement: runs of white space become one blank,
// leading white space is dropped, at most 255 bytes (never a cut character).
std::string StatementTitle(std::string_view statement);
