#include "settings/StatusTexts.h"

#include <array>

#include "settings/TextTable.h"

namespace vornel {

namespace {

constexpr std::size_t kCount = static_cast<std::size_t>(StatusText::Bpm) + 1;

// In the order of StatusText. The Turkish texts name the section with
// "kısmından" so that no suffix has to follow a section's own name.
const std::array<std::string, kCount> kTurkish{
    "Aygıt: ",
    "Yerleşik sentezleyici",
    "Ses yok: ses çıkışı bulunamadı. Ayarlar'dan başka bir aygıt seçin.",
    "Ses yok: {name} açılamadı (kullanımda ya da takılı değil). Ayarlar'dan başka bir aygıt seçin.",
    "MIDI dosyası değil",
    "dosya okunamadı",
    "dosya bozuk: {section} kısmından sonraki kısımlar okunamadı",
    "dosya bozuk: hiçbir kısım okunamadı",
    "Ses çıkışı bulunamadı: yerleşik sentezleyici çalamıyor.\nAyarlar'dan başka bir MIDI aygıtı "
    "seçin.",
    " bpm",
};

const std::array<std::string, kCount> kEnglish{
    "Device: ",
    "Built-in synthesizer",
    "No sound: no audio output found. Choose another device in Settings.",
    "No sound: {name} could not be opened (in use or unplugged). Choose another device in "
    "Settings.",
    "not a MIDI file",
    "the file could not be read",
    "the file is damaged: the sections after {section} could not be read",
    "the file is damaged: no section could be read",
    "No audio output was found: the built-in synthesizer cannot play.\nChoose another MIDI device "
    "in Settings.",
    " bpm",
};

}  // namespace

const std::string& statusText(int lang, StatusText which) {
    const auto i = static_cast<std::size_t>(which);
    return lang == kLangTurkish ? kTurkish[i] : kEnglish[i];
}

std::string fillPlaceholder(const std::string& text, const std::string& value) {
    const std::size_t open = text.find('{');
    const std::size_t close = text.find('}', open);
    if (open == std::string::npos || close == std::string::npos) return text;
    return text.substr(0, open) + value + text.substr(close + 1);
}

}  // namespace vornel
