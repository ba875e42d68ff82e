#include "EditorText.h"

#include <QHash>
#include <QStringList>

#include "QtText.h"
#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {

EncodedLines EncodeLinesKeeping(const QString& text, const std::vector<std::string>& originals) {
    // Decoded text → the original spelling. Equal texts with different spellings: the first
    // one read wins, which is as good as any since they are the same characters.
    QHash<QString, const std::string*> spelling;
    for (const std::string& original : originals) {
        const QString decoded = ToQString(original);
        if (!spelling.contains(decoded)) spelling.insert(decoded, &original);
    }
    EncodedLines result;
    const QStringList fieldLines = text.split(u'\n');
    int start = 0;
    for (int i = 0; i < fieldLines.size(); ++i) {
        const QString& line = fieldLines[i];
        if (auto found = spelling.constFind(line); found != spelling.constEnd()) {
            result.lines.push_back(**found);
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
