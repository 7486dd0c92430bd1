#include "windows/rtf/qt/RichTextDocument.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace vornel {

namespace {

Qt::Alignment toQt(ParagraphAlignment alignment) {
    switch (alignment) {
        case ParagraphAlignment::Centre: return Qt::AlignHCenter;
        case ParagraphAlignment::Right: return Qt::AlignRight;
        case ParagraphAlignment::Justify: return Qt::AlignJustify;
        case ParagraphAlignment::Left: break;
    }
    return Qt::AlignLeft;
}

// Block margins are in the layout's pixels, fonts in points; a screen of 96
// pixels per inch keeps the two in proportion.
qreal pixels(double points) {
    return points * 96.0 / 72.0;
}

QTextBlockFormat toQt(const Paragraph& paragraph) {
    QTextBlockFormat block;
    block.setAlignment(toQt(paragraph.alignment));
    block.setTopMargin(pixels(paragraph.spaceBefore));
    block.setBottomMargin(pixels(paragraph.spaceAfter));
    block.setLeftMargin(pixels(paragraph.leftIndent));
    block.setTextIndent(pixels(paragraph.firstLineIndent));
    return block;
}

QTextCharFormat toQt(const TextFormat& format) {
    QTextCharFormat out;
    out.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    out.setFontItalic(format.italic);
    out.setFontUnderline(format.underline);
    out.setFontPointSize(format.pointSize);
    if (format.colour) {
        const std::uint32_t rgb = *format.colour;
        out.setForeground(QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    }
    if (!format.fontFamily.empty())
        out.setFontFamilies(QStringList{QString::fromStdString(format.fontFamily)});
    return out;
}

// insertText would start a new block at a line feed, carriage return or
// paragraph separator; a break inside a paragraph is Qt's line separator.
QString runText(const std::string& utf8) {
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    for (QChar& c : text) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator)
            c = QChar::LineSeparator;
    }
    return text;
}

}  // namespace

void fillTextDocument(QTextDocument& target, const RichText& document) {
    target.clear();
    QTextCursor cursor(&target);
    cursor.beginEditBlock();
    bool first = true;
    for (const Paragraph& paragraph : document.paragraphs) {
        const QTextBlockFormat block = toQt(paragraph);
        if (first)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block, QTextCharFormat());
        first = false;
        for (const TextRun& run : paragraph.runs) cursor.insertText(runText(run.text), toQt(run.format));
    }
    cursor.endEditBlock();
}

}  // namespace vornel
