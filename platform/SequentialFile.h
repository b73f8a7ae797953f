#pragma once
// Sequential text files: the project file, the sweep export and the base-flow
// output are all written and read through this one layer.
//
// A file is a run of fields. A quoted field is a double quote, the text, a
// double quote; fields on one line are separated by single commas and every
// line ends with CR LF, the last one included. The bytes on disk are 8-bit
// Latin-1; inside the program texts are UTF-8, so the writer turns UTF-8 into
// Latin-1 and the reader Latin-1 into UTF-8.
//
// Nothing here touches the file system: the writer fills a byte string that
// the caller commits in one piece (so a failed save never leaves half a file),
// and the reader works on the bytes the caller has read.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// The decimal text of a number as the data files hold it: a leading blank for
// zero and positive values, a minus sign otherwise; "." as decimal point; no
// zero before the point of a value below 1 in magnitude; no trailing zeros or
// trailing point; at most `digits` significant digits, the last one rounded.
// Magnitudes from 10^digits up and below 1E-04 (after rounding) take the
// exponent form with "E", a sign and at least two exponent digits:
//   0 -> " 0", -3 -> "-3", 0.25 -> " .25", 1e16 -> " 1E+16", 1.5e-5 -> " 1.5E-05".
// Use 15 digits for double-precision values and 7 for single-precision ones
// (digits is held to 1..17). A value that is not finite has no text: "".
std::string numberText(double v, int digits = 15);
// The same without the leading blank of a non-negative value ("0", ".25").
std::string plainNumberText(double v, int digits = 15);

// The number rule of the reader: skip leading blanks, then an optional sign,
// digits with an optional decimal point and fraction, and an optional exponent
// ("E" or "D", optional sign, digits); whatever follows is ignored. A text
// without a leading number reads as 0. nullopt only for a magnitude beyond
// the double-precision range.
std::optional<double> fileNumber(std::string_view text);

// Builds the bytes of a sequential file. A field that cannot be written (a
// text holding a double quote or a line break, a text that is not UTF-8 or
// has no Latin-1 form, a number that is not finite) marks the writer failed;
// the caller then reports the save as failed and keeps the old file.
class SequentialWriter {
public:
    // One quoted field: "text".
    SequentialWriter& quoted(std::string_view text);
    // One quoted number field: " .25" with its quotes.
    SequentialWriter& quotedNumber(double v, int digits = 15);
    // One field as it is, without quotes (plain numbers of the exports).
    SequentialWriter& bare(std::string_view text);
    // Ends the current line with CR LF.
    SequentialWriter& endLine();

    bool failed() const { return failed_; }
    const std::string& bytes() const { return out_; }

private:
    void separate();
    // One field: the text in Latin-1, in quotes or bare; a text with no
    // Latin-1 form or holding one of `forbidden` fails the writer.
    SequentialWriter& field(std::string_view text, const char* forbidden, bool quote);
    std::string out_;
    bool lineStarted_ = false;
    bool failed_ = false;
};

// Reads fields from the bytes of a sequential file.
//
// Blanks before a field are skipped. A field that begins with a double quote
// runs to the next double quote (blanks inside kept); anything after the
// closing quote up to the next comma or line end is dropped. A field without
// quotes runs to the next comma or line end, trailing blanks dropped. The
// comma or line end after a field is consumed; a line end is CR LF, LF or CR.
// An empty line reads as one empty field.
class SequentialReader {
public:
    explicit SequentialReader(std::string_view bytes) : in_(bytes) {}

    // True when every byte has been consumed.
    bool atEnd() const { return pos_ >= in_.size(); }
    // True when nothing but blanks and line ends is left.
    bool onlyBlanksLeft() const;
    // The next field as UTF-8 text; nullopt at the end of the file.
    std::optional<std::string> field();
    // True when the last field opened a quote the file never closes: the
    // file was cut inside it.
    bool fieldUnclosed() const { return unclosed_; }
    // The offset of the next byte to read.
    std::size_t position() const { return pos_; }

private:
    void consumeSeparator();
    std::string_view in_;
    std::size_t pos_ = 0;
    bool unclosed_ = false;
};

// The 1-based line of the byte at `pos` (CR LF, LF and CR each end a line).
int lineAt(std::string_view bytes, std::size_t pos);

// File bytes as a message quotes them: UTF-8 as it decodes (the 8-bit files
// are often edited as UTF-8); a byte that is not UTF-8, a control character
// and an invisible byte-order mark escaped (\xNN, <U+FEFF>). At most
// `maxChars` characters, then "...".
std::string shownText(std::string_view bytes, std::size_t maxChars = 40);

// Latin-1 bytes to UTF-8, and back (nullopt when the text is not valid UTF-8
// or holds a character beyond U+00FF).
std::string latin1ToUtf8(std::string_view bytes);
std::optional<std::string> utf8ToLatin1(std::string_view text);

} // namespace velmora
