// Where an installed or a built game keeps its save, and what the player is
// told when the help page is missing from the game's data.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "qt_test_support.h"
#include "rules/port/random.h"
#include "rules/save/savefile.h"
#include "rules/world/game.h"
#include "rules/world/newgame.h"
#include "screens/main/main_window.h"
#include "ui/qt/common.h"
#include "ui/qt/qt_screen.h"

namespace tarvex::ui {
namespace {

TEST(SaveDirectory, BesideAWritableBuildButInTheUsersFolderOtherwise) {
    EnsureApplication();
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString base = root.path();
    // A build tree: nothing installed beside it.
    ASSERT_TRUE(QDir().mkpath(base + "/build"));
    // An installed tree: bin/ with its data under share/tarvex.
    ASSERT_TRUE(QDir().mkpath(base + "/prefix/bin"));
    ASSERT_TRUE(QDir().mkpath(InstalledDataDirBeside(base + "/prefix/bin")));
    // A folder the player cannot write to.
    ASSERT_TRUE(QDir().mkpath(base + "/locked"));
    ASSERT_TRUE(QFile::setPermissions(base + "/locked", QFile::ReadOwner | QFile::ExeOwner));
    const bool lockHolds = !QFileInfo(base + "/locked").isWritable();  // root writes anyway

    struct Case {
        const char* name;
        QString programDir;
        bool besideProgram;
    };
    const Case cases[] = {
        {"writable build tree", base + "/build", true},
        {"installed game, even where bin/ is writable", base + "/prefix/bin", false},
        {"read-only program folder", base + "/locked", false},
        {"program folder gone", base + "/gone", false},
        {"no program folder known", QString(), false},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.programDir.endsWith("/locked") && !lockHolds) continue;
        // A nested folder that does not exist yet: it must be made for the first save.
        const QString userDir = base + "/home" + QString::number(++n) + "/.local/share/Tarvex";
        const QString chosen = QtScreen::SaveDirectory(c.programDir, userDir);
        if (c.besideProgram) {
            EXPECT_EQ(chosen, QFileInfo(c.programDir).absoluteFilePath());
            EXPECT_FALSE(QFileInfo::exists(userDir));
        } else {
            EXPECT_EQ(chosen, userDir);
            EXPECT_TRUE(QFileInfo(userDir).isDir());
        }
    }
    QFile::setPermissions(base + "/locked", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The whole save, as the installed program makes it, lands in the user's
// folder, made for it, never in bin/, even when run as root; the first save
// there names the folder under "セーブしました". A build tree saves beside itself and says nothing more.
TEST(SaveDirectory, AnInstalledGameSavesInTheUsersFolderAndSaysSoOnce) {
    EnsureApplication();
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    ASSERT_TRUE(QDir().mkpath(root.path() + "/usr/bin"));
    ASSERT_TRUE(QDir().mkpath(InstalledDataDirBeside(root.path() + "/usr/bin")));
    QtScreen screen;
    screen.autoAnswer = [](const Question&) { return Answer::Ok; };
    screen.programDir = root.path() + "/usr/bin";
    screen.userDataDir = root.path() + "/home/.local/share/Tarvex";
    MersenneRandom random(1);
    Game game(screen, random);
    NewGame(game);
    game.TurnStart = true;
    ASSERT_TRUE(SaveGame(game));
    ASSERT_TRUE(SaveGame(game));
    EXPECT_TRUE(QFileInfo(screen.userDataDir + "/Game.dt").isFile());
    EXPECT_FALSE(QFileInfo::exists(screen.programDir + "/Game.dt"));
    const std::vector<std::string> told = {
        "セーブしました\nゲームのフォルダには保存できないので、次のフォルダに保存しました:\n" +
            QDir::toNativeSeparators(screen.userDataDir).toStdString(),
        "セーブしました"};
    EXPECT_EQ(screen.boxLog, told);

    QtScreen build;
    build.programDir = root.path();
    EXPECT_EQ(build.SavedWhere(game), "");
}

TEST(HelpPage, AMissingPageIsToldToThePlayerAndTheGameGoesOn) {
    EnsureApplication();
    QtScreen screen;
    screen.autoAnswer = [](const Question&) { return Answer::Ok; };
    Session game;
    screen.OpenWebPage(game, "help/no-such-page.html");
    ASSERT_EQ(screen.boxLog.size(), 1u);
    EXPECT_NE(screen.boxLog[0].find("help/no-such-page.html"), std::string::npos);
    EXPECT_NE(screen.boxLog[0].find("見つかりません"), std::string::npos);
    EXPECT_FALSE(game.Ended);
    // Asked again, the player is told again: the box is where they look.
    screen.OpenWebPage(game, "help/no-such-page.html");
    EXPECT_EQ(screen.boxLog.size(), 2u);
}

TEST(DataFiles, TheShippedHelpPageAndMapAreFoundFromTheBuildTree) {
    EnsureApplication();
    for (const char* file : {kHomePage, "map/europe.map", "map/NOTICE"}) {
        SCOPED_TRACE(file);
        const QString found = FindDataFile(file);
        ASSERT_FALSE(found.isEmpty());
        EXPECT_TRUE(QFileInfo(found).isFile());
    }
    EXPECT_TRUE(FindDataFile("help").isEmpty());  // a folder is not a data file
    EXPECT_TRUE(FindDataFile("help/no-such-page.html").isEmpty());
}

}  // namespace
}  // namespace tarvex::ui
