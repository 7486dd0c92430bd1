// Putting a read document into a Qt text document.
#include <gtest/gtest.h>

#include <QColor>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <string>
#include <vector>

#include "windows/rtf/RtfReader.h"
#include "windows/rtf/qt/RichTextDocument.h"

namespace vornel {
namespace {

// The fragments of one block: text and format of each.
std::vector<QTextFragment> fragmentsOf(const QTextBlock& block) {
    std::vector<QTextFragment> out;
    for (auto it = block.begin(); !it.atEnd(); ++it) out.push_back(it.fragment());
    return out;
}

TEST(RichTextDocument, ParagraphsBecomeBlocksWithTheirAlignment) {
    const RichText doc =
        parseRtf(R"({\rtf1\qc Title\par\pard One\line two\tab three\par\par\qr Right\par\qj J})").document;
    QTextDocument target;
    fillTextDocument(target, doc);

    EXPECT_EQ(target.blockCount(), 5);
    // A line break stays inside its paragraph.
    EXPECT_EQ(target.toPlainText(), QString("Title\nOne\ntwo\tthree\n\nRight\nJ"));
    EXPECT_EQ(target.findBlockByNumber(1).text(), QString("One") + QChar(QChar::LineSeparator) + "two\tthree");
    const Qt::Alignment expected[] = {Qt::AlignHCenter, Qt::AlignLeft, Qt::AlignLeft, Qt::AlignRight,
                                      Qt::AlignJustify};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(target.findBlockByNumber(i).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                  expected[i])
            << i;
}

TEST(RichTextDocument, SpacingAndIndentsBecomeBlockMargins) {
    QTextDocument target;
    fillTextDocument(target, parseRtf(R"({\rtf1\sb240\sa120\li720\fi-360 a\par\pard b})").document);
    ASSERT_EQ(target.blockCount(), 2);
    // Points become pixels at 96 per inch.
    const QTextBlockFormat a = target.firstBlock().blockFormat();
    EXPECT_DOUBLE_EQ(a.topMargin(), 16.0);
    EXPECT_DOUBLE_EQ(a.bottomMargin(), 8.0);
    EXPECT_DOUBLE_EQ(a.leftMargin(), 48.0);
    EXPECT_DOUBLE_EQ(a.textIndent(), -24.0);
    const QTextBlockFormat b = target.lastBlock().blockFormat();
    EXPECT_DOUBLE_EQ(b.topMargin() + b.bottomMargin() + b.leftMargin() + b.textIndent(), 0.0);
}

TEST(RichTextDocument, RunsKeepTheirCharacterFormats) {
    const RichText doc = parseRtf(
        R"({\rtf1\ansi\ansicpg1254{\fonttbl{\f0 Arial;}{\f1 Courier New;}}{\colortbl;\red200\green10\blue20;})"
        R"(plain {\b bold} {\i italic} {\ul under} {\fs40 big} {\cf1 red} {\f1 mono} \'dd\'fe})")
                             .document;
    QTextDocument target;
    fillTextDocument(target, doc);
    ASSERT_EQ(target.blockCount(), 1);
    EXPECT_EQ(target.toPlainText(), QString::fromUtf8("plain bold italic under big red mono İş"));

    const auto fragments = fragmentsOf(target.firstBlock());
    auto formatOf = [&](const QString& text) {
        for (const QTextFragment& f : fragments)
            if (f.text() == text) return f.charFormat();
        ADD_FAILURE() << "no fragment " << text.toStdString();
        return QTextCharFormat();
    };
    EXPECT_EQ(formatOf("plain ").fontWeight(), QFont::Normal);
    EXPECT_FALSE(formatOf("plain ").fontItalic());
    EXPECT_DOUBLE_EQ(formatOf("plain ").fontPointSize(), 12.0);
    EXPECT_EQ(formatOf("plain ").fontFamilies().toStringList(), QStringList{"Arial"});
    EXPECT_FALSE(formatOf("plain ").hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(formatOf("bold").fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatOf("italic").fontItalic());
    EXPECT_TRUE(formatOf("under").fontUnderline());
    EXPECT_FALSE(formatOf("bold").fontUnderline());
    EXPECT_DOUBLE_EQ(formatOf("big").fontPointSize(), 20.0);
    EXPECT_EQ(formatOf("red").foreground().color(), QColor(200, 10, 20));
    EXPECT_EQ(formatOf("mono").fontFamilies().toStringList(), QStringList{"Courier New"});
}

TEST(RichTextDocument, FillingReplacesWhatWasThere) {
    QTextDocument target;
    target.setPlainText("old text\nsecond line");
    fillTextDocument(target, parseRtf(R"({\rtf1 new\par})").document);
    EXPECT_EQ(target.toPlainText(), QString("new"));
    EXPECT_EQ(target.blockCount(), 1);

    fillTextDocument(target, RichText{});
    EXPECT_TRUE(target.isEmpty());
}

TEST(RichTextDocument, BreakCharactersInRunsNeverSplitAParagraph) {
    RichText doc;
    doc.paragraphs.push_back(Paragraph{{TextRun{"a\rb\u2029c\nd", TextFormat{}}}, ParagraphAlignment::Left});
    QTextDocument target;
    fillTextDocument(target, doc);
    EXPECT_EQ(target.blockCount(), 1);
    EXPECT_EQ(target.toPlainText(), QString("a\nb\nc\nd"));
}

TEST(RichTextDocument, TheHelpDocumentsFillOneBlockPerParagraph) {
    for (const char* file : {"Help.rtf", "Yardım.rtf"}) {
        const RtfResult result = readRtfFile(std::string(VORNEL_HELP_DIR) + "/" + file);
        ASSERT_EQ(result.status, RtfStatus::Ok) << file;
        QTextDocument target;
        fillTextDocument(target, result.document);
        EXPECT_EQ(target.blockCount(), static_cast<int>(result.document.paragraphs.size())) << file;
        EXPECT_TRUE(target.toPlainText().contains("Shift")) << file;
        EXPECT_TRUE(target.toPlainText().contains("F9")) << file;
    }
}

}  // namespace
}  // namespace vornel
