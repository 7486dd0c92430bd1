#pragma once

#include "windows/rtf/RichText.h"

class QTextDocument;

namespace vornel {

// Replaces the contents of `target` with `document`, formats and all.
void fillTextDocument(QTextDocument& target, const RichText& document);

}  // namespace vornel
