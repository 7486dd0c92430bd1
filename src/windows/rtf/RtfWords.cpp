#include "windows/rtf/RtfWords.h"

#include <unordered_map>

namespace vornel {

namespace {

using Id = RtfWordId;

const std::unordered_map<std::string_view, RtfWord>& wordTable() {
    static const std::unordered_map<std::string_view, RtfWord> table = [] {
        std::unordered_map<std::string_view, RtfWord> t{
            {"fonttbl", {Id::FontTable}},
            {"colortbl", {Id::ColourTable}},
            {"upr", {Id::UnicodePair}},
            {"ud", {Id::UnicodeVersion}},
            {"ansicpg", {Id::AnsiCodePage}},
            {"deff", {Id::DefaultFont}},
            {"f", {Id::Font}},
            {"fcharset", {Id::FontCharset}},
            {"cpg", {Id::FontCodePage}},
            {"red", {Id::Red}},
            {"green", {Id::Green}},
            {"blue", {Id::Blue}},
            {"b", {Id::Bold}},
            {"i", {Id::Italic}},
            {"ulnone", {Id::UnderlineNone}},
            {"v", {Id::Hidden}},
            {"fs", {Id::FontSize}},
            {"cf", {Id::ColourIndex}},
            {"plain", {Id::Plain}},
            {"pard", {Id::ParagraphDefault}},
            {"ql", {Id::AlignLeft}},
            {"qc", {Id::AlignCentre}},
            {"qr", {Id::AlignRight}},
            {"qj", {Id::AlignJustify}},
            {"qd", {Id::AlignJustify}},
            {"sb", {Id::SpaceBefore}},
            {"sa", {Id::SpaceAfter}},
            {"li", {Id::LeftIndent}},
            {"fi", {Id::FirstLineIndent}},
            {"u", {Id::UnicodeChar}},
            {"uc", {Id::UnicodeSkipCount}},
            // A section, page or table row break ends the paragraph on screen.
            {"par", {Id::ParagraphEnd}},
            {"sect", {Id::ParagraphEnd}},
            {"page", {Id::ParagraphEnd}},
            {"row", {Id::ParagraphEnd}},
            {"line", {Id::LineBreak}},
            {"tab", {Id::Tab}},
            {"cell", {Id::Tab}},
            {"nestcell", {Id::Tab}},
            {"emdash", {Id::Character, U'\u2014'}},
            {"endash", {Id::Character, U'\u2013'}},
            {"bullet", {Id::Character, U'\u2022'}},
            {"lquote", {Id::Character, U'\u2018'}},
            {"rquote", {Id::Character, U'\u2019'}},
            {"ldblquote", {Id::Character, U'\u201C'}},
            {"rdblquote", {Id::Character, U'\u201D'}},
            {"emspace", {Id::Character, U'\u2003'}},
            {"enspace", {Id::Character, U'\u2002'}},
            {"qmspace", {Id::Character, U'\u2005'}},
            {"zwj", {Id::Character, U'\u200D'}},
            {"zwnj", {Id::Character, U'\u200C'}},
            {"ltrmark", {Id::Character, U'\u200E'}},
            {"rtlmark", {Id::Character, U'\u200F'}},
        };
        // Every kind of underline is shown as the one underline we have.
        for (std::string_view w : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave",
                                   "ulldash", "ulth", "ulthd", "ulthdash", "ulthdashd",
                                   "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave"})
            t.emplace(w, RtfWord{Id::Underline});
        // Destinations whose text is not part of what the reader shows:
        // tables, document information, pictures, objects, headers, notes,
        // field instructions, revision and list machinery.
        for (std::string_view w :
             {"aftncn",    "aftnsep",   "aftnsepc",    "annotation",  "atnauthor", "atndate",
              "atnicn",    "atnid",     "atnparent",   "atnref",      "atntime",   "atrfend",
              "atrfstart", "author",    "background",  "bkmkend",     "bkmkstart", "buptim",
              "category",  "colorschememapping",       "comment",     "company",   "creatim",
              "datastore", "docvar",    "doccomm",     "fldinst",     "filetbl",   "footer",
              "footerf",   "footerl",   "footerr",     "footnote",    "ftncn",     "ftnsep",
              "ftnsepc",   "generator", "header",      "headerf",     "headerl",   "headerr",
              "info",      "keywords",  "latentstyles", "listoverridetable",       "listtable",
              "manager",   "nonshppict", "object",     "objdata",     "operator",  "pgdsctbl",
              "pict",      "pn",        "printim",     "private",     "revtbl",    "revtim",
              "rsidtbl",   "rxe",       "shp",         "shpinst",     "stylesheet", "subject",
              "tc",        "template",  "themedata",   "title",       "txe",       "userprops",
              "xe",        "xmlnstbl"})
            t.emplace(w, RtfWord{Id::Skipped});
        return t;
    }();
    return table;
}

}  // namespace

RtfWord lookUpRtfWord(std::string_view word) {
    const auto& table = wordTable();
    const auto it = table.find(word);
    return it == table.end() ? RtfWord{} : it->second;
}

}  // namespace vornel
