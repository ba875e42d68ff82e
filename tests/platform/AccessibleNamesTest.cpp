// Names for screen readers: given once, never over a name the code chose, and from the tooltip
// where the table has no row.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWidget>

#include "AccessibleNames.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

TEST(AccessibleNames, NamesOnlyWhatHasNoNameAndCountsIt) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* chosen = new QLineEdit;
    chosen->setAccessibleName(QStringLiteral("自分の名前"));
    auto* tipped = new QPushButton;
    tipped->setToolTip(QStringLiteral("スクロール"));
    auto* table = new QTableWidget(2, 2);
    auto* bare = new QLineEdit;
    for (QWidget* w : std::initializer_list<QWidget*>{chosen, tipped, table, bare})
        layout->addWidget(w);

    // The tooltip's button, the table's two headers and its corner button; the bare box and the
    // table itself have nothing to be named by.
    EXPECT_EQ(NameControls(&window), 4);
    EXPECT_EQ(chosen->accessibleName(), QStringLiteral("自分の名前"));
    EXPECT_EQ(tipped->accessibleName(), QStringLiteral("スクロール"));
    EXPECT_EQ(table->horizontalHeader()->accessibleName(), QStringLiteral("列見出し"));
    EXPECT_EQ(table->verticalHeader()->accessibleName(), QStringLiteral("行見出し"));
    EXPECT_TRUE(bare->accessibleName().isEmpty());
    EXPECT_EQ(test::UnnamedControls(&window).size(), 2u);
    EXPECT_EQ(NameControls(&window), 0);  // once named, left alone
}

}  // namespace
}  // namespace sulkan
