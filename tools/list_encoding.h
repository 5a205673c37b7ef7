// The encodings a spreadsheet saves a list in: UTF-8 with or without its byte order mark,
// "Tekst Unicode" (UTF-16, little or big endian, always with the mark) and Windows-1250. A list
// is read in one of them, decided per file, and its result written back in the same.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vistrel::tools {

enum class ListEncoding { Utf8, Utf8WithMark, Utf16Le, Utf16Be, Windows1250 };

// The encoding's name for messages: "UTF-8", "UTF-16 LE", "Windows-1250"...
std::string_view EncodingName(ListEncoding encoding);

// The encoding a file's first bytes name by their byte order mark, if they begin with one.
std::optional<ListEncoding> EncodingOfMark(std::string_view firstBytes);

// The byte order mark a file in `encoding` begins with ("" for none).
std::string_view ByteOrderMark(ListEncoding encoding);

// What the bytes of a file without a mark say about their encoding, taken a chunk at a time.
class Utf8Census {
public:
    void Add(std::string_view chunk);
    void Finish();  // a sequence cut short by the end of the file counts as a stray byte

    // UTF-8 unless stray bytes (ones that belong to no well-formed UTF-8 character) outnumber
    // the well-formed characters beyond ASCII: one Windows-1250 byte in a UTF-8 file does not
    // turn the file into Windows-1250 (its row is named instead), and a Windows-1250 file in
    // which two letters happen to form a UTF-8 character stays Windows-1250.
    ListEncoding Verdict() const;

    std::size_t WideCharacters() const { return wide_; }
    std::size_t StrayBytes() const { return stray_; }

private:
    std::string carry_;  // the start of a sequence the chunk cut
    std::size_t wide_ = 0;
    std::size_t stray_ = 0;
};

// Decodes a file in `encoding` to UTF-8 a chunk at a time, the byte order mark dropped. UTF-8
// passes as it stands (its stray bytes are found per row); Windows-1250 gives every byte its
// character; in UTF-16 a lone surrogate or a last odd byte becomes U+FFFD.
class ListDecoder {
public:
    explicit ListDecoder(ListEncoding encoding) : encoding_(encoding) {}
    void Decode(std::string_view bytes, std::string& utf8);
    void Finish(std::string& utf8);

private:
    ListEncoding encoding_;
    bool started_ = false;
    std::string carry_;  // bytes of a UTF-16 unit or pair the chunk cut; the mark's first bytes
    char16_t highSurrogate_ = 0;
};

// Appends UTF-8 text in `encoding` (no byte order mark). Bytes that are no UTF-8 pass as they
// stand into UTF-8, as "?" into Windows-1250 and as U+FFFD into UTF-16.
void AppendEncoded(ListEncoding encoding, std::string_view utf8, std::string& out);

}  // namespace vistrel::tools
