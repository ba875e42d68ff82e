// The face table: every face a Windows course names is drawn in the closest installed face, on
// the sheet canvas as the worksheet draws its text.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>
#include <set>

#include "Fonts.h"
#include "QtCanvas.h"
#include "QtText.h"
#include "Sjis.h"

namespace sulkan {
namespace {

QImage Drawn(const std::string& face) {
    ImageCanvas canvas(240, 60);
    canvas.setFont({face, 24});
    canvas.drawText(4, 4, sjis("漢字の練習"));
    return canvas.takeImage();
}

class FaceTable : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InstallFontSubstitutions(); }

    static const FaceSubstitution& Row(const QString& kind) {
        for (const FaceSubstitution& row : FaceSubstitutions())
            if (row.kind == kind) return row;
        static const FaceSubstitution none;
        return none;
    }
};

// Every installed face is listed under both its names; the first two are the closest face.
TEST_F(FaceTable, SemiCursiveTextbookAndBrushFacesUseTheirClosestInstalledFace) {
    const std::vector<std::pair<QString, QString>> expected = {
        {QStringLiteral("semi-cursive"), QStringLiteral("KouzanBrushFontGyousyo")},
        {QStringLiteral("textbook"), QStringLiteral("Klee One")},
        {QStringLiteral("brush"), QStringLiteral("KouzanBrushFont")},
    };
    const QImage gothic = Drawn(sjis("ＭＳ ゴシック"));
    for (const auto& [kind, installed] : expected) {
        const FaceSubstitution& row = Row(kind);
        ASSERT_GE(row.installed.size(), 2) << kind.toStdString();
        EXPECT_EQ(row.installed.front(), installed);
        const QStringList closest = row.installed.mid(0, 2);
        const QImage direct = Drawn(*FromQString(installed));
        EXPECT_NE(direct, gothic) << kind.toStdString();
        for (const QString& face : row.courseFaces) {
            SCOPED_TRACE(face.toStdString());
            const QString used = QFontInfo(QFont(face)).family();
            EXPECT_TRUE(closest.contains(used)) << used.toStdString();
            // Names CP932 cannot hold could not be in a course.
            const auto bytes = FromQString(face);
            ASSERT_TRUE(bytes.has_value());
            const QImage sheet = Drawn(*bytes);
            EXPECT_EQ(sheet, direct);
            EXPECT_NE(sheet, gothic);
        }
    }
    // The semi-cursive answer face of the courses in particular.
    EXPECT_EQ(Drawn(sjis("HG行書体")), Drawn(sjis("KouzanBrushFontGyousyo")));
    EXPECT_NE(Drawn(sjis("HG行書体")), Drawn(sjis("HG教科書体")));
    EXPECT_NE(Drawn(sjis("HG行書体")), Drawn(sjis("HG正楷書体-PRO")));
}

TEST_F(FaceTable, EveryCourseFaceIsInOneRowAndEveryRowHasAnInstalledFace) {
    std::set<QString> seen;
    for (const FaceSubstitution& row : FaceSubstitutions()) {
        SCOPED_TRACE(row.kind.toStdString());
        EXPECT_FALSE(row.courseFaces.isEmpty());
        for (const QString& face : row.courseFaces) {
            EXPECT_TRUE(seen.insert(face).second) << face.toStdString() << " is in two rows";
            EXPECT_FALSE(row.installed.contains(face));
        }
        bool installed = false;
        for (const QString& face : row.installed)
            installed = installed || QFontInfo(QFont(face)).family() == face;
        EXPECT_TRUE(installed);
    }
}

}  // namespace
}  // namespace sulkan
