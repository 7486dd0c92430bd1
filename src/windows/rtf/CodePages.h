#pragma once

namespace vornel {

// The single-byte Windows code pages that rich text names through
// \ansicpgN, \cpgN or a font's \fcharsetN.
inline constexpr int kDefaultCodePage = 1252;

// True for the code pages that decodeCodePageByte knows.
bool isSupportedCodePage(int codePage);

// The character that `byte` stands for in `codePage`. Bytes below 0x80 are
// ASCII in every page; a byte the page leaves undefined gives U+FFFD; an
// unsupported page is read as Windows-1252.
char32_t decodeCodePageByte(int codePage, unsigned char byte);

// The code page of a font character set (\fcharsetN): 162 Turkish is 1254,
// and so on. 0 when the set has no code page of its own, so the document's
// code page applies (ANSI, default, symbol and the sets we do not decode).
int codePageForCharset(int charset);

}  // namespace vornel
