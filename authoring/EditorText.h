// Text fields of the editors back to CP932 lines: a line the teacher did not change keeps the
// bytes it was read with, and a character CP932 cannot hold is reported with its place instead of
// being written as something else.
#pragma once

#include <QHash>
#include <QString>
#include <string>
#include <vector>

namespace sulkan {

struct EncodedLines {
    std::vector<std::string> lines;  // CP932, without line ends
    // Where encoding stopped: the 0-based line and the position (QString units) in the field's
    // text of the first character CP932 cannot hold, and that character. failedChar is 0 when
    // every line encoded.
    int failedLine = -1;
    int failedPosition = -1;
    char32_t failedChar = 0;
    explicit operator bool() const { return failedChar == 0; }
};

// The original spelling of each line text, made once per loaded unit so that every encoding of a
// field (on OK, and at every preview update) does not decode the originals again.
class KeptSpellings {
public:
    KeptSpellings() = default;
    explicit KeptSpellings(const std::vector<std::string>& originals);
    // As EncodeLinesKeeping with the originals given at construction.
    EncodedLines encode(const QString& text) const;

private:
    // Decoded text → the original bytes. Equal texts with different spellings: the first one
    // read wins, which is as good as any since they are the same characters.
    QHash<QString, std::string> m_spelling;
};

// Splits a field's text at line breaks and encodes each line. A line whose text equals the
// decoded text of one of originals gets that original's bytes (about 400 CP932 codes have a
// second spelling that decodes to the same character, and schools' files use both); any other
// line is encoded afresh. Lines may have been moved, added or removed.
EncodedLines EncodeLinesKeeping(const QString& text, const std::vector<std::string>& originals);

// The field text for lines: decoded and joined with "\n".
QString JoinLinesForField(const std::vector<std::string>& lines);

// The message for a failed encoding, in CP932: the line (1-based) and the character's code.
std::string UnencodableLineText(const EncodedLines& failed);

}  // namespace sulkan
