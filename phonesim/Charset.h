#pragma once
// The character sets of AT+CSCS for names in phone book commands, and the GSM 7-bit default
// alphabet they share with the PDU generator.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace phonesim {

enum class Charset { Ira, Gsm, Ucs2, Utf8, Latin1 };

std::optional<Charset> CharsetByName(std::string_view name);  // case-insensitive
const char* CharsetName(Charset charset);
const std::vector<Charset>& SupportedCharsets();

// Text as it travels between the quotes of a reply. Characters the set cannot carry become
// '?'; in IRA, UTF-8 and 8859-1 a quote, a backslash or a control character is written as
// \HH, so it can never end the string or the line early.
std::string EncodeText(std::u16string_view text, Charset charset);
// The reverse, for text between the quotes of a command (\HH understood where EncodeText
// writes it); nullopt when the bytes are not valid in the set.
std::optional<std::u16string> DecodeText(std::string_view bytes, Charset charset);

// GSM 03.38 default alphabet: one septet per character, two (escape + code) for the
// extension table; nullopt when a character has no code.
std::optional<std::vector<unsigned char>> TextToGsm(std::u16string_view text);
// Unknown codes and a lone escape become '?'.
std::u16string GsmToText(const std::vector<unsigned char>& septets);

}  // namespace phonesim
