// A person at the text window, with the mouse and the keyboard of the real window: a title clicked above the
// first staff, a dynamic under its first note, two verses typed a syllable and a Tab at a time.
#include "platform/qt/text_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

#include "platform/qt/main_window.h"
#include "platform/qt/score_view.h"
#include "score/text_records.h"
#include "shell/dispatch.h"
#include "shell/menu_table.h"
#include "support/cli_runner.h"
#include "support/test_files.h"
#include "support/test_paths.h"

namespace notavera {
namespace {

// Finds a menu item of the window by its label, '&' marks left out.
QAction* ItemLabelled(const QMenuBar& bar, const QString& label) {
    std::vector<QMenu*> menus;
    for (QAction* a : bar.actions())
        if (a->menu()) menus.push_back(a->menu());
    while (!menus.empty()) {
        QMenu* menu = menus.back();
        menus.pop_back();
        for (QAction* a : menu->actions()) {
            if (a->menu()) menus.push_back(a->menu());
            else if (QString(a->text()).remove('&') == label) return a;
        }
    }
    return nullptr;
}

class PersonAtTheTextWindow {
public:
    PersonAtTheTextWindow(QMainWindow& window, ScoreView& view) : window_(window), view_(view) {}

    void choose(const char* label) {
        QAction* item = ItemLabelled(*window_.menuBar(), QString::fromUtf8(label));
        ASSERT_NE(item, nullptr) << label;
        item->trigger();
        QCoreApplication::processEvents();
    }
    // A left click at a page point.
    void click(Point at) {
        const QPointF pixel = pixelOf(at);
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, pixel, view_.viewport()->mapToGlobal(pixel), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(view_.viewport(), &event);
        }
        QCoreApplication::processEvents();
    }
    void key(Qt::Key k, const QString& text = {}) {
        QKeyEvent event(QEvent::KeyPress, k, Qt::NoModifier, text);
        QCoreApplication::sendEvent(&view_, &event);
        QCoreApplication::processEvents();
    }
    void type(const std::string& chars) {
        for (const QChar c : QString::fromStdString(chars)) key(Qt::Key_unknown, QString(c));
    }

private:
    // The pixel of the view over a page point, from the view's own mapping of two pixels.
    QPointF pixelOf(Point at) const {
        view_.viewport()->repaint();
        const Point a = view_.pagePointAt({0, 0}), b = view_.pagePointAt({1000, 1000});
        return {(at.x - a.x) * 1000.0 / (b.x - a.x), (at.y - a.y) * 1000.0 / (b.y - a.y)};
    }

    QMainWindow& window_;
    ScoreView& view_;
};

struct TextWindowTest : ::testing::Test {
    test::TempDir dir;
};

// The texts of a staff as (characters, category, type, x), in staff order.
using Typed = std::tuple<std::string, TextCategory, unsigned, int>;
std::vector<Typed> TextsOf(const StaffRecord& staff) {
    std::vector<Typed> texts;
    for (const ElementRecord& e : staff.elements)
        if (IsText(e)) {
            const TextAttributes a = TextAttributesOf(e);
            texts.emplace_back(TextCharacters(e), a.category, a.type, e.x);
        }
    return texts;
}

TEST_F(TextWindowTest, APersonTypesATitleADynamicAndTwoVerses) {
    test::WriteText(dir / "song.gmn", "[ \\clef<\"g\"> \\meter<\"3/4\"> f1/4 g a | b& a g | f/2. ]");
    ASSERT_EQ(test::RunCli(dir.path(), {"import-gmn", "song.gmn", "song.mus"}).status, 0);
    MainWindow main((dir / "song.mus").string());
    main.resize(1000, 800);
    main.show();
    DispatchCommand(main.context(), cmd::TextWindow);
    QCoreApplication::processEvents();
    auto* window = main.findChild<QMainWindow*>("Texte");
    ASSERT_NE(window, nullptr);
    auto* view = window->findChild<ScoreView*>();
    ASSERT_NE(view, nullptr);
    PersonAtTheTextWindow person(*window, *view);

    const ScoreDocument& doc = main.context().doc;
    const StaffRecord& staff = doc.pages[0].staves[0];
    std::vector<int> notes;
    for (const ElementRecord& e : staff.elements)
        if (e.isNote()) notes.push_back(e.x);
    ASSERT_EQ(notes.size(), 7u);
    const int top = static_cast<int>(staff.y), space = 20;  // the first staff's top line and its staff space

    person.click({notes[2], top + 4 * space});
    person.type("Chanson");
    person.key(Qt::Key_Return, "\r");
    person.choose("DYNAMIQUE 1");
    person.click({notes[0] - 15, top - 7 * space});
    person.type("mp");
    person.key(Qt::Key_Return, "\r");
    for (const auto& [verse, syllables, below] :
         {std::tuple{"PAROLES 1", "Les san- glots", 9}, std::tuple{"PAROLES 2", "Bles- sent mon", 11}}) {
        person.choose(verse);
        person.click({notes[0] - 60, top - below * space});
        person.key(Qt::Key_Tab, "\t");
        for (const QString& s : QString(syllables).split(' ')) {
            person.type(s.toStdString());
            person.key(Qt::Key_Tab, "\t");
        }
    }
    window->close();
    QCoreApplication::processEvents();

    const std::vector<Typed> expected{{"mp", TextCategory::Dynamics, 0, notes[0] - 15},
                                      {"Les", TextCategory::Lyrics, 0, notes[0]},
                                      {"Bles-", TextCategory::Lyrics, 1, notes[0]},
                                      {"san-", TextCategory::Lyrics, 0, notes[1]},
                                      {"sent", TextCategory::Lyrics, 1, notes[1]},
                                      {"Chanson", TextCategory::Miscellaneous, FirstTitle, notes[2]},
                                      {"glots", TextCategory::Lyrics, 0, notes[2]},
                                      {"mon", TextCategory::Lyrics, 1, notes[2]}};
    EXPECT_EQ(TextsOf(doc.pages[0].staves[0]), expected);
    // Each verse keeps one line, the second under the first, both under the dynamic.
    std::vector<int> lines[2];
    int dynamic = 0;
    for (const ElementRecord& e : doc.pages[0].staves[0].elements) {
        if (!IsText(e)) continue;
        const TextAttributes a = TextAttributesOf(e);
        if (a.category == TextCategory::Lyrics) lines[a.type].push_back(e.param);
        if (a.category == TextCategory::Dynamics) dynamic = e.param;
    }
    EXPECT_EQ(lines[0], std::vector<int>(3, lines[0][0]));
    EXPECT_EQ(lines[1], std::vector<int>(3, lines[1][0]));
    EXPECT_LT(lines[1][0], lines[0][0]);
    EXPECT_LT(lines[0][0], dynamic);
}

}  // namespace
}  // namespace notavera
