// What the benchmark programs share: a scratch folder, files written as lines, the full A3 sheet
// every speed figure is measured on, and the main window's view of it.
#pragma once

#include <benchmark/benchmark.h>

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "LineFile.h"
#include "QtText.h"
#include "SheetImage.h"
#include "Sjis.h"
#include "Worksheet.h"

namespace sulkan::bench {

// A folder of generated files, removed at exit.
struct ScratchFolder {
    std::filesystem::path path;
    ScratchFolder() {
        path = std::filesystem::temp_directory_path() /
               ("sulkan-bench-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() { std::filesystem::remove_all(path); }
    std::string folder() const { return path.string() + "/"; }
    QString file(const char* name) const { return QString::fromStdString((path / name).string()); }
};

inline void WriteFile(const std::filesystem::path& file, const std::vector<std::string>& lines) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << JoinLines(lines);
}

// 60 question lines of 40 characters, 80 blanks: lines with one or two answers.
inline Worksheet FullA3Sheet() {
    Worksheet w;
    w.content.title = sjis("小学四年の漢字//まとめ§3-1 まとめテスト");
    w.params.PaperWidth = 891;
    w.params.LineSpacing = 24;
    w.params.FontSize = 12;
    w.params.BoxStyle = 5;
    w.params.AnswerFontSize = 16;
    for (int i = 0; i < 60; ++i) {
        std::string n = sjis("（") + std::to_string(i + 1) + sjis("）");
        std::string line = n + sjis("<U>山道</>を") + "#" + sjis("やまみち") + "#" + sjis("歩く");
        if (i < 20) line += sjis("と") + "#" + sjis("かわ;せん") + "#" + sjis("へ行く");
        while (CharCount(line) < 40) line += sjis("。");
        w.content.questionLines.push_back(line);
    }
    return w;
}

// The question lines without their "#" marks, for the plain baselines.
inline std::vector<QString> PlainLines(const Worksheet& w) {
    std::vector<QString> lines;
    for (const auto& l : w.content.questionLines) {
        std::string plain;
        for (char c : l)
            if (c != '#') plain += c;
        lines.push_back(ToQString(plain));
    }
    return lines;
}

inline ScreenView BenchView() {
    ScreenView view;
    view.answersShown = true;
    view.questionSize = 12;
    view.mainFontName = sjis("ＭＳ 明朝");
    view.schoolName = sjis("さくら小学校");
    return view;
}

// The baseline every screen figure is compared with: the characters of the full A3 sheet drawn
// the plain way, one drawText per line, no styles, no frames.
inline void PlainQPainterBaseline(benchmark::State& state) {
    Worksheet w = FullA3Sheet();
    const std::vector<QString> lines = PlainLines(w);
    QFont font(QStringLiteral("ＭＳ 明朝"));
    font.setPointSize(12);
    for (auto _ : state) {
        QImage image(891, 1260, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setFont(font);
        double y = 130;
        for (const auto& line : lines) {
            p.drawText(QPointF(50, y), line);
            y += 24 * 0.7875;
        }
        p.end();
        benchmark::DoNotOptimize(image.bits());
    }
}

}  // namespace sulkan::bench
