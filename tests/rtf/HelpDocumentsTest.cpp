// The two help documents shipped with the program read cleanly and say what
// a user needs, in the program's own words.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "rtf/RtfTestText.h"
#include "windows/rtf/RtfReader.h"
#include "windows/rtf/Utf8.h"

namespace vornel {
namespace {

struct HelpDocument {
    const char* file;
    std::vector<std::string> mustSay;
};

std::string helpPath(const char* file) {
    return std::string(VORNEL_HELP_DIR) + "/" + file;
}

const std::vector<std::string> kBothLanguages = {
    "Intro A", "Main A", "Fill In AB", "Fill In BA", "Ending", "*.sty", "*.mid", "Shift",
    "A   W   S   E   D   F   T   G   Y   H   U   J", "C   C#  D   Eb  E   F   F#  G   Ab  A   Bb  B",
    "F1", "F8", "F9", "Sub Rhythm", "Main Rhythm", "Bass", "Chord 1", "Chord 2", "Pad", "Phrase 1",
    "Phrase 2", "Tempo Modify", "Türkçe (Turkish)", "English", "Cannot open MIDI Output port",
    // the MIDI keyboard: its button, its keys and the chord types it reads
    "“Split”", "F11", "F12", "Am7", "maj7", "m6", "sus4", "dim", "aug", "add9",
    // the chord change and its key
    "Alt + C",
    // the master volume's keys
    "Page Up", "Page Down"};

class HelpDocuments : public testing::TestWithParam<HelpDocument> {};

TEST_P(HelpDocuments, AreAsciiRichTextInTheTurkishCodePage) {
    std::ifstream in(helpPath(GetParam().file), std::ios::binary);
    ASSERT_TRUE(in) << helpPath(GetParam().file);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_TRUE(bytes.starts_with("{\\rtf1\\ansi\\ansicpg1254"));
    for (const char c : bytes) ASSERT_LT(static_cast<unsigned char>(c), 0x80u);
}

TEST_P(HelpDocuments, ReadCleanlyWithTitleAndHeadings) {
    const RtfResult result = readRtfFile(helpPath(GetParam().file));
    ASSERT_EQ(result.status, RtfStatus::Ok);
    const RichText& doc = result.document;
    ASSERT_GT(doc.paragraphs.size(), 20u);

    const std::string text = test::allText(doc);
    EXPECT_TRUE(isValidUtf8(text));
    EXPECT_EQ(text.find("\uFFFD"), std::string::npos);
    EXPECT_EQ(text.find('\\'), std::string::npos);  // no control word leaked as text
    EXPECT_EQ(text.find('{'), std::string::npos);

    // The title is centred, bold and the largest type; headings are bold
    // and larger than the body.
    const Paragraph& title = doc.paragraphs.front();
    EXPECT_EQ(title.alignment, ParagraphAlignment::Centre);
    ASSERT_FALSE(title.runs.empty());
    EXPECT_TRUE(title.runs[0].format.bold);
    int headings = 0;
    for (const Paragraph& p : doc.paragraphs) {
        for (const TextRun& run : p.runs) {
            EXPECT_LE(run.format.pointSize, title.runs[0].format.pointSize);
            EXPECT_FALSE(run.format.fontFamily.empty()) << run.text;
        }
        if (p.runs.size() == 1 && p.runs[0].format.bold && p.runs[0].format.pointSize > 11.0 &&
            &p != &title)
            ++headings;
    }
    EXPECT_GE(headings, 8);
}

TEST_P(HelpDocuments, NameEveryCommandAndKey) {
    const RtfResult result = readRtfFile(helpPath(GetParam().file));
    ASSERT_EQ(result.status, RtfStatus::Ok);
    const std::string text = test::allText(result.document);
    std::vector<std::string> expected = kBothLanguages;
    expected.insert(expected.end(), GetParam().mustSay.begin(), GetParam().mustSay.end());
    for (const std::string& phrase : expected)
        EXPECT_NE(text.find(phrase), std::string::npos) << "missing: " << phrase;
}

INSTANTIATE_TEST_SUITE_P(
    Turkish, HelpDocuments,
    testing::Values(HelpDocument{
        "Yardım.rtf",
        {"Vornel Yardım", "“Aç ..”", "“Oynat”", "“Durdur”", "“Panik”", "“Ayarlar”", "“Harita”",
         "“Hakkında”", "“Yardım”", "“- Çıkış -”", "“Tamam”", "“Aygıt ve Dil Seçimi”", "“Dil”",
         "“MIDI Aygıtı”", "“Stil”", "“Akorlar”", "“Dosya”", "Çıkmak istediğinizden emin misiniz?",
         "“MIDI Giriş Aygıtı”", "“yok”", "Tek Parmak", "Parmaklı", "Eş Başlat", "Tempo Vur",
         "“hemen”", "“sonraki vuruş”", "“sonraki ölçü”", "“Ana Ses”",
         "ı", "ğ", "ş", "İ", "ü", "ö", "ç"}}));

INSTANTIATE_TEST_SUITE_P(
    English, HelpDocuments,
    testing::Values(HelpDocument{
        "Help.rtf",
        {"Vornel Help", "“Open ..”", "“Play”", "“Stop”", "“Panic”", "“Settings”", "“Key map”",
         "“About”", "“Help”", "“- Exit -”", "“Ok”", "“Device and Language Selection”",
         "“Language”", "“MIDI Device”", "“Style”", "“Chords”", "“File”", "Are you sure?",
         "“MIDI Input Device”", "“none”", "Single Finger", "Fingered", "Sync Start", "Tap Tempo",
         "“at once”", "“next beat”", "“next bar”", "“Master Volume”"}}));

}  // namespace
}  // namespace vornel
