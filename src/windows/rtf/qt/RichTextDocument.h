#pragma once

#include "windows/rtf/RichText.h"

class QTextDocument;

namespace vornel {

// Replaces the contents of `target` with `document`, formats and all.
// A text view showing `target` keeps its own cursor, which the inserted text
// pushes to the end; the view shows the top again after
// moveCursor(QTextCursor::Start).
void fillTextDocument(QTextDocument& target, const RichText& document);

}  // namespace vornel
