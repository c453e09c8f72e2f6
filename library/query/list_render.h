// Renders a report-style list (the result window's or the shell view's Qt
// model) as delimited text or as Rich Text, and puts such a list on the
// clipboard with delayed rendering.
#pragma once

#include <QByteArray>

#include "library/query/text_buffer.h"
#include "platform/com/winbase.h"

class QAbstractItemModel;
class QWidget;

// A cell is cut to this many characters in both renderings.
inline constexpr int kMaxCellChars = 299;

enum class ListFormat { Text, RichText };

// Every row (selected or not) in model order, every column in index order,
// without a header row. Text: cells joined by the list separator, rows ended
// by CR LF. Rich Text: "{\rtf1\ansi\deff0\pard\plain", cells joined by \tab,
// rows ended by CR LF and \par, closed by " }". Returns false when memory
// ran out (the buffer then holds what was rendered before).
bool RenderList(const QAbstractItemModel& model, ListFormat format, const char* separator, TextBuffer& out);

// Renders the list for a clipboard format (CF_TEXT or the registered Rich
// Text format) into `data`. Returns 0, or ERROR_OUTOFMEMORY (14) when the
// memory for the text cannot be had; an unknown format renders nothing.
DWORD RenderListToClipboard(UINT format, const QAbstractItemModel& model, QByteArray& data);

// The copy command: announces plain text and Rich Text on the clipboard for
// the owner window and renders them only when another program asks. The
// model must outlive the announcement or be flushed first.
void CopyListToClipboard(QWidget* owner, const QAbstractItemModel* model);
// Before the owner goes away (or its model changes for good): replaces the
// announced formats by fully rendered data, as the system's render-all step
// does, so what was copied stays pasteable.
void RenderAllClipboardFormats(QWidget* owner);
