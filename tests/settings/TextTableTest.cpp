#include <gtest/gtest.h>

#include <string>

#include "settings/Language.h"
#include "settings/TextTable.h"

namespace vornel {
namespace {

struct Entry {
    int group;
    int entry;
    const char* turkish;
    const char* english;
};

// Typed from the user-interface text tables; the code's own copy is not used.
// Compared exactly, so the blanks around caption 14 (five on each side),
// caption 17 and other text 0 are checked with the letters.
const Entry kTable[] = {
    {0, 0, "Aygıt ve Dil Seçimi", "Device and Language Selection"},
    {0, 1, "Dil", "Language"},
    {0, 2, "MIDI Aygıtı", "MIDI Device"},
    {0, 3, "Tamam", "Ok"},
    {0, 4, "Çıkış", "Exit"},
    {0, 5, "Dosya", "File"},
    {0, 6, "Stil", "Style"},
    {0, 7, "Akorlar", "Chords"},
    {0, 8, "Aç ..", "Open .."},
    {0, 9, "Oynat", "Play"},
    {0, 10, "Durdur", "Stop"},
    {0, 11, "Panik", "Panic"},
    {0, 12, "Hakkında", "About"},
    {0, 13, "Ayarlar", "Settings"},
    {0, 14, "     - Çıkış -     ", "     - Exit -     "},
    {0, 15, "Yardım", "Help"},
    {0, 16, "İptal", "Cancel"},
    {0, 17, " Gösterge - Açık / Kapalı ", " Volume meters - On / Off "},
    {0, 18, "Telif hakkı", "Copyright"},
    {0, 19, "İsim", "Name"},
    {0, 20, "Ölçü", "Time Sign."},
    {0, 21, "Boyut", "Size"},
    {0, 22, "Veri sayısı", "Data count"},
    {0, 23, "Harita", "Key map"},
    {1, 0, "Main A, B, C ve D kısımlarından hiçbiri bulunamadı", "There is no Main A, B, C, D one of part"},
    {1, 1, "Bu kısımda data yok", "There is no data in this part"},
    {1, 2, "Yadım dosyası bulunamıyor", "The help file couldn't be found"},
    {2, 0, " Açık / Kapalı ", " On / Off "},
    {2, 1, " Ses takılması olduğunda kullanın ", " Use when notes ... "},
    {2, 2, "Soru ve önerileriniz için:   vornel@halvex.org", "Questions and suggestions:   vornel@halvex.org"},
    {2, 3, "yükleniyor ...", "loading ..."},
    {2, 4, "Aç - MIDI ve STİL dosyaları (*.mid, *.sty)", "Open - MIDI and STYLE files (*.mid, *.sty)"},
};

class TextTableTest : public ::testing::Test {
protected:
    void SetUp() override { table.SetTheLangsQuery(); }
    TextTable table;
};

TEST_F(TextTableTest, EveryTextOfBothLanguages) {
    ASSERT_EQ(std::size(kTable), 32u);
    for (const Entry& e : kTable) {
        SCOPED_TRACE(testing::Message() << "group " << e.group << " entry " << e.entry);
        EXPECT_EQ(table.LangText(0, e.group, e.entry), e.turkish);
        EXPECT_EQ(table.LangText(1, e.group, e.entry), e.english);
    }
}

TEST_F(TextTableTest, TurkishLettersAreStoredAsUtf8) {
    // Spelled in bytes so that a change of the sources' encoding shows here.
    EXPECT_EQ(table.LangText(0, 0, 16), "\xC4\xB0ptal");                      // İptal
    EXPECT_EQ(table.LangText(0, 0, 20), "\xC3\x96l\xC3\xA7\xC3\xBC");         // Ölçü
    EXPECT_EQ(table.LangText(0, 1, 2), "Yad\xC4\xB1m dosyas\xC4\xB1 bulunam\xC4\xB1yor");
    EXPECT_EQ(table.LangText(0, 0, 4), "\xC3\x87\xC4\xB1k\xC4\xB1\xC5\x9F");  // Çıkış
}

// The MIDI keyboard's group comes after the others, so their numbers hold;
// every one of its texts exists in both languages, in Turkish letters.
TEST_F(TextTableTest, KeyboardTextsOfBothLanguages) {
    for (int entry = 0; entry < kKeyboardTextCount; ++entry) {
        EXPECT_NE(table.LangText(kLangTurkish, kGroupKeyboard, entry), "") << entry;
        EXPECT_NE(table.LangText(kLangEnglish, kGroupKeyboard, entry), "") << entry;
    }
    EXPECT_EQ(table.LangText(0, kGroupKeyboard, kTextInputDevice), "MIDI Giri\xC5\x9F Ayg\xC4\xB1t\xC4\xB1");
    EXPECT_EQ(table.LangText(1, kGroupKeyboard, kTextInputDevice), "MIDI Input Device");
    EXPECT_EQ(table.LangText(0, kGroupKeyboard, kTextNoInput), "yok");
    EXPECT_EQ(table.LangText(1, kGroupKeyboard, kTextNoInput), "none");
    EXPECT_EQ(table.LangText(0, kGroupKeyboard, kTextSyncStart), "E\xC5\x9F Ba\xC5\x9Flat");  // Eş Başlat
    EXPECT_EQ(table.LangText(1, kGroupKeyboard, kTextTapTempo), "Tap Tempo");
    EXPECT_EQ(table.LangText(0, kGroupKeyboard, kTextChordChange), "Akor de\xC4\x9Fi\xC5\x9Fimi");  // Akor değişimi
    EXPECT_EQ(table.LangText(1, kGroupKeyboard, kTextNextBar), "next bar");
}

TEST_F(TextTableTest, LanguageTwoIsAllEmpty) {
    const int sizes[] = {24, 3, 5, 23};
    for (int group = 0; group < 4; ++group)
        for (int entry = 0; entry < sizes[group]; ++entry)
            EXPECT_EQ(table.LangText(2, group, entry), "") << group << "/" << entry;
}

TEST_F(TextTableTest, AddressesOutsideTheTableReadEmpty) {
    EXPECT_EQ(table.LangText(3, 0, 0), "");
    EXPECT_EQ(table.LangText(-1, 0, 0), "");
    EXPECT_EQ(table.LangText(0, 4, 0), "");
    EXPECT_EQ(table.LangText(0, -1, 0), "");
    // One past the end of a group must not read the next group's first entry.
    EXPECT_EQ(table.LangText(0, 0, 24), "");
    EXPECT_EQ(table.LangText(1, 1, 3), "");
    EXPECT_EQ(table.LangText(1, 2, 5), "");
    EXPECT_EQ(table.LangText(1, kGroupKeyboard, kKeyboardTextCount), "");
    EXPECT_EQ(table.LangText(0, 0, -1), "");
    EXPECT_EQ(table.LangText(32767, 32767, 32767), "");
}

TEST(TextTableUnfilled, ReadsEmptyUntilFilled) {
    TextTable table;
    for (int lang = 0; lang < 3; ++lang) {
        EXPECT_EQ(table.LangText(lang, 0, 5), "");
        EXPECT_EQ(table.LangText(lang, 1, 0), "");
        EXPECT_EQ(table.LangText(lang, 2, 3), "");
    }
}

TEST(Language, ReadsTheTableInTheCurrentLanguage) {
    Language lang;
    lang.table.SetTheLangsQuery();
    EXPECT_EQ(lang.LangNo, 0);
    EXPECT_EQ(lang.text(kGroupOtherTexts, 3), "yükleniyor ...");
    lang.LangNo = kLangEnglish;
    EXPECT_EQ(lang.text(kGroupOtherTexts, 3), "loading ...");
    EXPECT_EQ(lang.text(kGroupMessages, 0), "There is no Main A, B, C, D one of part");
    lang.LangNo = 2;
    EXPECT_EQ(lang.text(kGroupCaptions, 5), "");
    lang.LangNo = -7;
    EXPECT_EQ(lang.text(kGroupCaptions, 5), "");
}

}  // namespace
}  // namespace vornel
