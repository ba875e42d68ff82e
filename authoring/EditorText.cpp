#include "EditorText.h"

#include <QStringList>

#include "QtText.h"
#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {

KeptSpellings::KeptSpellings(const std::vector<std::string>& originals) {
    for (const std::string& original : originals) {
        const QString decoded = ToQString(original);
        if (!m_spelling.contains(decoded)) m_spelling.insert(decoded, original);
    }
}

EncodedLines KeptSpellings::encode(const QString& text) const {
    EncodedLines result;
    const QStringList fieldLines = text.split(u'\n');
    int start = 0;
    for (int i = 0; i < fieldLines.size(); ++i) {
        const QString& line = fieldLines[i];
        if (auto found = m_spelling.constFind(line); found != m_spelling.constEnd()) {
            result.lines.push_back(*found);
        } else if (auto encoded = FromQString(line, &result.failedChar)) {
            result.lines.push_back(std::move(*encoded));
        } else {
            result.failedLine = i;
            // FromQString names the character, not its place: find the first one that fails.
            for (int pos = 0; pos < line.size();) {
                const int width = line[pos].isHighSurrogate() && pos + 1 < line.size() ? 2 : 1;
                if (!FromQString(line.mid(pos, width))) {
                    result.failedPosition = start + pos;
                    break;
                }
                pos += width;
            }
            if (result.failedPosition < 0) result.failedPosition = start;
            return result;
        }
        start += static_cast<int>(line.size()) + 1;
    }
    return result;
}

EncodedLines EncodeLinesKeeping(const QString& text, const std::vector<std::string>& originals) {
    return KeptSpellings(originals).encode(text);
}

QString JoinLinesForField(const std::vector<std::string>& lines) {
    QStringList decoded;
    decoded.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) decoded.push_back(ToQString(line));
    return decoded.join(u'\n');
}

std::string UnencodableLineText(const EncodedLines& failed) {
    return IntText(failed.failedLine + 1) + sjis(" 行目：") + UnencodableText(failed.failedChar);
}

}  // namespace sulkan
