// The Screen port carried by Qt: boxes, the message hold, modal windows, the end.
#include "ui/qt/qt_screen.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "rules/combat/battle.h"
#include "screens/main/auto_play.h"
#include "screens/session/session.h"
#include "ui/chronicle/war_chart.h"
#include "ui/qt/common.h"
#include "ui/qt/dialogs.h"

namespace tarvex::ui {

namespace {

QString BoxTitle(const std::string& title) { return title.empty() ? QStringLiteral("Tarvex") : Qs(title); }

// While a box waits for the player, the game waits with it. A key still held
// from before the box (the Enter that asked) repeats into it: the repeats were
// meant for what came before and answer nothing.
class QuestionOpen : public QObject {
public:
    QuestionOpen(HoldGate& gate, QWidget* box) : gate_(gate), box_(box) {
        gate_.BeginQuestion();
        qApp->installEventFilter(this);
    }
    ~QuestionOpen() override {
        qApp->removeEventFilter(this);
        gate_.EndQuestion();
    }
    QuestionOpen(const QuestionOpen&) = delete;
    QuestionOpen& operator=(const QuestionOpen&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
        if (static_cast<QWidget*>(watched)->window() != box_) return false;
        return static_cast<const QKeyEvent*>(event)->isAutoRepeat();
    }

private:
    HoldGate& gate_;
    QWidget* box_;
};

}  // namespace

QtScreen::QtScreen() = default;

void QtScreen::AddView(QObject* owner, std::function<void()> sync) {
    RemoveView(owner);
    views_.push_back({owner, std::move(sync)});
}

void QtScreen::RemoveView(QObject* owner) {
    std::erase_if(views_, [owner](const View& v) { return v.owner.isNull() || v.owner == owner; });
}

void QtScreen::SyncViews() {
    std::erase_if(views_, [](const View& v) { return v.owner.isNull(); });
    // A view may open or close others while it syncs: walk a copy.
    const std::vector<View> views = views_;
    for (const View& v : views)
        if (!v.owner.isNull() && v.sync) v.sync();
}

void QtScreen::Act(QWidget* window, Game& game, const std::function<void()>& handler) {
    if (out_.Begun()) return;
    if (gate_.MustWait(window)) {
        const QPointer<QWidget> alive(window);
        gate_.Defer(window, [this, alive, &game, handler] {
            if (alive) Act(alive, game, handler);
        });
        return;
    }
    out_.Catch(handler);
    SyncViews();
}

void QtScreen::Message(Game& game, const std::string& text, const std::string& title) {
    SyncViews();
    boxLog.push_back(text);
    if (autoAnswer) return;
    QWidget* parent = owner_ ? owner_.data() : QApplication::activeWindow();
    QMessageBox box(QMessageBox::NoIcon, BoxTitle(title), Qs(text), QMessageBox::Ok, parent);
    // A box that only informs holds a game that plays itself as the event window does: a few
    // messages' time, then its own OK; not while paused. A question still waits for the player.
    QTimer ownOk;
    if (Session* session = SessionOf(game)) {
        ownOk.setInterval(static_cast<int>(OwnOkSeconds(game) * 1000));
        QObject::connect(&ownOk, &QTimer::timeout, &box, [&box, session] {
            if (PlaysItself(*session)) box.accept();
        });
        ownOk.start();
    }
    const QuestionOpen waiting(gate_, &box);
    out_.Wait([&box] { box.exec(); });
}

Answer QtScreen::Ask(Game&, const Question& question) {
    SyncViews();
    boxLog.push_back(question.text);
    if (autoAnswer) return autoAnswer(question);
    QWidget* parent = owner_ ? owner_.data() : QApplication::activeWindow();
    QMessageBox box(question.warning ? QMessageBox::Warning : QMessageBox::NoIcon, BoxTitle(question.title),
                    Qs(question.text), QMessageBox::Ok | QMessageBox::Cancel, parent);
    box.setDefaultButton(question.defaultButton == Answer::Ok ? QMessageBox::Ok : QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    int pressed = 0;
    {
        const QuestionOpen waiting(gate_, &box);
        out_.Wait([&] { pressed = box.exec(); });
    }
    return pressed == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

int QtScreen::Choose(Game&, const Question& question, const std::vector<std::string>& buttons) {
    SyncViews();
    boxLog.push_back(question.text);
    if (autoAnswer) return autoAnswer(question) == Answer::Ok && !buttons.empty() ? 0 : -1;
    QWidget* parent = owner_ ? owner_.data() : QApplication::activeWindow();
    QMessageBox box(question.warning ? QMessageBox::Warning : QMessageBox::Question, BoxTitle(question.title),
                    Qs(question.text), QMessageBox::NoButton, parent);
    std::vector<QAbstractButton*> pressed;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        // The last choice goes back, as Esc does.
        const auto role = i + 1 == buttons.size() && i > 0 ? QMessageBox::RejectRole : QMessageBox::AcceptRole;
        QPushButton* button = box.addButton(Qs(buttons[i]), role);
        button->setObjectName(QString("Choice%1").arg(i));
        pressed.push_back(button);
    }
    if (!pressed.empty()) {
        box.setDefaultButton(
            static_cast<QPushButton*>(question.defaultButton == Answer::Ok ? pressed.front() : pressed.back()));
        if (pressed.size() > 1) box.setEscapeButton(pressed.back());
    }
    {
        const QuestionOpen waiting(gate_, &box);
        out_.Wait([&box] { box.exec(); });
    }
    const auto found = std::find(pressed.begin(), pressed.end(), box.clickedButton());
    return found == pressed.end() ? -1 : static_cast<int>(found - pressed.begin());
}

void QtScreen::Hold(Game&, int, double seconds) {
    SyncViews();
    // A line that has just come back into view asks to be drawn later; until
    // that request is taken, painting the window leaves the line out. Take
    // only those requests: no other event of the game may run here.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateLater);
    // Paint now: a hold of no time runs no event loop to paint in.
    std::vector<QWidget*> windows;
    for (const View& v : views_) {
        auto* widget = qobject_cast<QWidget*>(v.owner.data());
        if (!widget || !widget->isVisible()) continue;
        QWidget* window = widget->window();
        if (std::find(windows.begin(), windows.end(), window) == windows.end()) windows.push_back(window);
    }
    for (QWidget* window : windows) window->repaint();
    if (seconds <= 0) return;
    if (holdWait)
        out_.Wait([&] { holdWait(seconds); });
    else
        gate_.Hold(seconds, &out_);
}

// Every game this screen carries is the windows' game; a bare one has no window to show.
void QtScreen::RunBattleScreen(Game& game) {
    SyncViews();
    if (Session* session = SessionOf(game))
        out_.Wait([&] { RunBattleWindow(*session, *this, owner_); });
    else
        FightForAbsentPlayer(game);
}

void QtScreen::RunEventWindow(Game& game) {
    SyncViews();
    if (Session* session = SessionOf(game)) out_.Wait([&] { ui::RunEventWindow(*session, *this, owner_); });
}

void QtScreen::ShowNationScreen(Game& game, bool modal) {
    SyncViews();
    if (Session* session = SessionOf(game)) out_.Wait([&] { ShowNationWindow(*session, *this, owner_, modal); });
}

void QtScreen::ShowWarChart(Game& game) {
    SyncViews();
    if (autoAnswer) return;
    WarChartDialog dialog(game, owner_ ? owner_.data() : QApplication::activeWindow());
    out_.Wait([&dialog] { dialog.exec(); });
}

void QtScreen::ShowSettings(Game&) {
    if (onShowSettings) onShowSettings();
}

QString QtScreen::ResolvePage(const std::string& url) {
    QString text = Qs(url);
    if (text.startsWith("http://") || text.startsWith("https://")) return text;
    const QString file = FindDataFile(text);
    return file.isEmpty() ? QString() : QUrl::fromLocalFile(file).toString();
}

void QtScreen::OpenWebPage(Game& game, const std::string& url) {
    // A page that cannot be found or opened is told to the player (the menu
    // otherwise seems dead) and leaves the game as it was.
    const QString page = ResolvePage(url);
    if (page.isEmpty()) {
        static bool told = false;
        if (!told) {
            told = true;
            std::fprintf(stderr, "tarvex: %s not found among the game's data (looked in: %s)\n", url.c_str(),
                         qPrintable(DataSearchRoots().join(", ")));
        }
        const std::string text = "ヘルプのページ（" + url +
                                 "）が見つかりません。ゲームのデータが正しくインストールされているか確かめてください。";
        Message(game, text, "");
        return;
    }
    const QUrl shown(page);
    const std::string where = (shown.isLocalFile() ? shown.toLocalFile() : page).toStdString();
    const std::string unopened = "ヘルプのページを開けませんでした。ブラウザで次の場所を開いてください:\n" + where;
    const QString opener = QStandardPaths::findExecutable("xdg-open");
    if (opener.isEmpty()) {
        if (!QDesktopServices::openUrl(shown)) Message(game, unopened, "");
        return;
    }
    // The desktop's opener reports no browser only by its exit status, and may stay
    // as long as the browser it starts: it runs in the background of a short script
    // that answers with its status, or with success once it has run for five seconds
    // (openerPatience).
    // The box then comes by itself, and the game goes on meanwhile.
    auto* process = new QProcess(owner_ ? static_cast<QObject*>(owner_.data()) : QCoreApplication::instance());
    QPointer<QWidget> parent = owner_;
    const auto failed = [this, process, parent, unopened] {
        boxLog.push_back(unopened);
        process->deleteLater();
        if (autoAnswer) return;
        auto* box = new QMessageBox(QMessageBox::NoIcon, BoxTitle(""), Qs(unopened), QMessageBox::Ok, parent);
        box->setTextInteractionFlags(Qt::TextSelectableByMouse);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    };
    QObject::connect(process, &QProcess::finished, process, [process, failed](int code, QProcess::ExitStatus status) {
        if (status == QProcess::NormalExit && code == 0)
            process->deleteLater();
        else
            failed();
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [failed](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) failed();
    });
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    const QString script = QStringLiteral(
        "\"$1\" \"$2\" & opener=$!; i=0; "
        "while [ $i -lt \"$3\" ] && kill -0 $opener 2>/dev/null; do sleep 0.1; i=$((i+1)); done; "
        "if kill -0 $opener 2>/dev/null; then exit 0; fi; wait $opener");
    const long tenths = std::max(1L, std::lround(openerPatience * 10));
    process->start("/bin/sh", {"-c", script, "sh", opener, page, QString::number(tenths)});
}

namespace {
constexpr const char* kSaveWaitText = "ほかのプログラムがこのセーブを使っています。終わるのを待っています…";
// A wait shorter than this is not worth a box.
constexpr double kUnseenWait = 0.3;
}  // namespace

bool QtScreen::WaitForSave(Game&, double waited) {
    if (waited >= kUnseenWait && !saveWaitTold_) {
        saveWaitTold_ = true;
        boxLog.push_back(kSaveWaitText);
        if (autoAnswer) {
            saveWaitGivenUp_ = autoAnswer(Question{kSaveWaitText, "", Answer::Ok, false}) == Answer::Cancel;
        } else {
            auto* box = new QProgressDialog(Qs(kSaveWaitText), QStringLiteral("待たずにやめる"), 0, 0,
                                            owner_ ? owner_.data() : QApplication::activeWindow());
            box->setObjectName("SaveWaitBox");
            box->setWindowTitle(BoxTitle(""));
            box->setWindowModality(Qt::WindowModal);
            box->setAutoClose(false);
            box->setAutoReset(false);
            box->setMinimumDuration(0);
            box->setAttribute(Qt::WA_DeleteOnClose);
            QObject::connect(box, &QProgressDialog::canceled, box, [this] { saveWaitGivenUp_ = true; });
            box->show();
            saveWait_ = box;
        }
    }
    if (saveWaitGivenUp_) return false;
    // The window answers (painting, the desktop's ping, the box's button); the game's own input waits.
    if (holdWait)
        holdWait(0.1);
    else
        gate_.Hold(0.1);
    return !saveWaitGivenUp_ && !out_.Begun();
}

void QtScreen::SaveWaitOver(Game&) {
    if (saveWait_) saveWait_->close();
    saveWait_ = nullptr;
    saveWaitTold_ = false;
    saveWaitGivenUp_ = false;
}

void QtScreen::EndProgram(Game&) {
    if (onEnd) onEnd();
    out_.Begin();
}

namespace {
QString ProgramDirOr(const QString& dir) { return dir.isEmpty() ? QCoreApplication::applicationDirPath() : dir; }
QString UserDataDirOr(const QString& dir) {
    return dir.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) : dir;
}
}  // namespace

QString QtScreen::SaveDirectory(const QString& programDir, const QString& userDataDir) {
    if (!programDir.isEmpty()) {
        const QFileInfo program(programDir);
        const bool installed = QFileInfo(InstalledDataDirBeside(programDir)).isDir();
        if (program.isDir() && program.isWritable() && !installed) return program.absoluteFilePath();
    }
    QString dataDir = userDataDir.isEmpty() ? QDir::homePath() + "/.tarvex" : userDataDir;
    // When it cannot be made, saving says so with the reason; nothing more to do here.
    QDir().mkpath(dataDir);
    return dataDir;
}

QString QtScreen::SaveFolder() const { return SaveDirectory(ProgramDirOr(programDir), UserDataDirOr(userDataDir)); }

std::string QtScreen::SaveFilePath(Game&) {
    return QFile::encodeName(QDir(SaveFolder()).filePath("Game.dt")).toStdString();
}

std::string QtScreen::AutosavePath(Game&) {
    if (!keepAutosave) return {};
    return QFile::encodeName(QDir(SaveFolder()).filePath("Autosave.dt")).toStdString();
}

std::string QtScreen::SavedWhere(Game&) {
    if (toldSaveFolder_) return {};
    const QString program = ProgramDirOr(programDir);
    const QString dir = SaveFolder();
    if (!program.isEmpty() && dir == QFileInfo(program).absoluteFilePath()) return {};
    toldSaveFolder_ = true;
    return "ゲームのフォルダには保存できないので、次のフォルダに保存しました:\n" +
           QDir::toNativeSeparators(dir).toStdString();
}

}  // namespace tarvex::ui
