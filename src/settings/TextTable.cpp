#include "settings/TextTable.h"

#include <string_view>

namespace vornel {

namespace {

// Captions 0..23, messages 0..2, other texts 0..4, the MIDI keyboard's texts
// 0..18 (KeyboardText), one language per array.
// Leading and trailing blanks are part of the texts: the menus and tool tips
// use them for spacing.
constexpr std::array<std::string_view, kTextsPerLanguage> kTurkish{
    // captions
    "Aygıt ve Dil Seçimi",
    "Dil",
    "MIDI Aygıtı",
    "Tamam",
    "Çıkış",
    "Dosya",
    "Stil",
    "Akorlar",
    "Aç ..",
    "Oynat",
    "Durdur",
    "Panik",
    "Hakkında",
    "Ayarlar",
    "     - Çıkış -     ",
    "Yardım",
    "İptal",
    " Gösterge - Açık / Kapalı ",
    "Telif hakkı",
    "İsim",
    "Ölçü",
    "Boyut",
    "Veri sayısı",
    "Harita",
    // messages
    "Main A, B, C ve D kısımlarından hiçbiri bulunamadı",
    "Bu kısımda data yok",
    "Yadım dosyası bulunamıyor",
    // other texts
    " Açık / Kapalı ",
    " Ses takılması olduğunda kullanın ",
    "Soru ve önerileriniz için:   vornel@halvex.org",
    "yükleniyor ...",
    "Aç - MIDI ve STİL dosyaları (*.mid, *.sty)",
    // the MIDI keyboard
    "MIDI Giriş Aygıtı",
    "yok",
    "Split",
    "Tek Parmak",
    "Parmaklı",
    "Eş Başlat",
    "Tempo Vur",
    "Bölme noktası için bir tuşa basın",
    "MIDI giriş aygıtı kayboldu: ",
    "Eşlik çalmaya devam ediyor.",
    "MIDI giriş aygıtı açılamadı: ",
    "Sağ elin sesi",
    "Sol eli sağ elden ayıran tuş: buna, sonra MIDI klavyede bir tuşa basın",
    "MIDI klavye: girişi Ayarlar'da seçilir. Bölme noktasının altındaki tuşlar akoru seçer; Split'e, "
    "sonra klavyede bir tuşa basmak bölme noktasını belirler. Tek Parmak: bir tuş majör; altındaki en yakın "
    "siyah tuşla minör, en yakın beyaz tuşla yedili, ikisiyle minör yedili. Parmaklı: akor çalındığı gibi "
    "tanınır (majör, minör, 7, m7, maj7, 6, m6, sus4, dim, aug, add9; kök + beşli majör, kök + küçük üçlü "
    "minör). Sağ el, alttaki çubukta seçilen sesle çalar.",
    "Akor değişimi",
    "Akor değişimi: seçilen akor hemen, sonraki vuruştan ya da sonraki ölçüden duyulur (Alt+C)",
    "hemen",
    "sonraki vuruş",
    "sonraki ölçü",
    "Ana Ses",
    "Ana ses: tüm çalgının ses düzeyi (Page Up / Page Down); etikete tıklamak 100'e döndürür",
    "Otomatik Fill",
    "Otomatik Fill: çalarken başka bir Main seçilince önce ona götüren Fill In çalar",
};

constexpr std::array<std::string_view, kTextsPerLanguage> kEnglish{
    // captions
    "Device and Language Selection",
    "Language",
    "MIDI Device",
    "Ok",
    "Exit",
    "File",
    "Style",
    "Chords",
    "Open ..",
    "Play",
    "Stop",
    "Panic",
    "About",
    "Settings",
    "     - Exit -     ",
    "Help",
    "Cancel",
    " Volume meters - On / Off ",
    "Copyright",
    "Name",
    "Time Sign.",
    "Size",
    "Data count",
    "Key map",
    // messages
    "There is no Main A, B, C, D one of part",
    "There is no data in this part",
    "The help file couldn't be found",
    // other texts
    " On / Off ",
    " Use when notes ... ",
    "Questions and suggestions:   vornel@halvex.org",
    "loading ...",
    "Open - MIDI and STYLE files (*.mid, *.sty)",
    // the MIDI keyboard
    "MIDI Input Device",
    "none",
    "Split",
    "Single Finger",
    "Fingered",
    "Sync Start",
    "Tap Tempo",
    "Press a key for the split point",
    "The MIDI input device is gone: ",
    "The accompaniment plays on.",
    "The MIDI input device cannot be opened: ",
    "Right-hand voice",
    "The key between the hands: press this, then a key on the MIDI keyboard",
    "MIDI keyboard: choose its input in Settings. Keys below the split point pick the chord; Split, then a "
    "key on the keyboard, sets the split point. Single Finger: one key is major; with the nearest black key "
    "below it minor, with the nearest white key below it seventh, with both minor seventh. Fingered: the "
    "chord is recognised as played (major, minor, 7, m7, maj7, 6, m6, sus4, dim, aug, add9; root + fifth "
    "major, root + minor third minor). The right hand plays the voice chosen in the bar below.",
    "Chord change",
    "Chord change: a chosen chord is heard at once, from the next beat or from the next bar line (Alt+C)",
    "at once",
    "next beat",
    "next bar",
    "Master Volume",
    "Master volume: the level of the whole instrument (Page Up / Page Down); a click on the label sets 100",
    "Auto Fill",
    "Auto Fill: a Main section chosen while playing starts with the Fill In that leads into it",
};

}  // namespace

void TextTable::SetTheLangsQuery() {
    for (int i = 0; i < kTextsPerLanguage; ++i) texts_[kLangTurkish][i].assign(kTurkish[i]);
    for (int i = 0; i < kTextsPerLanguage; ++i) texts_[kLangEnglish][i].assign(kEnglish[i]);
}

int TextTable::position(int group, int entry) {
    if (group < 0 || group >= static_cast<int>(kGroupSizes.size())) return -1;
    if (entry < 0 || entry >= kGroupSizes[group]) return -1;
    int offset = 0;
    for (int g = 0; g < group; ++g) offset += kGroupSizes[g];
    return offset + entry;
}

const std::string& TextTable::LangText(int lang, int group, int entry) const {
    // Function-local so that it is ready even for readers running during
    // static initialisation.
    static const std::string empty;
    const int pos = position(group, entry);
    if (lang < 0 || lang >= kLanguageCount || pos < 0) return empty;
    return texts_[lang][pos];
}

}  // namespace vornel
