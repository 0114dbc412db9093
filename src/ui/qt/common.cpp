// Small helpers every window shares.
#include "ui/qt/common.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPalette>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "screens/session/keycodes.h"

namespace tarvex::ui {

QRect TwipRect(int left, int top, int width, int height) {
    return {Twips(left), Twips(top), Twips(width), Twips(height)};
}

void Place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(TwipRect(left, top, width, height));
}

void ShowAndPaint(QWidget* window) {
    window->show();
    // Wait in the event loop (never asleep) until the window system shows it, at most a second.
    const auto exposed = [window] { return window->windowHandle() && window->windowHandle()->isExposed(); };
    if (!exposed()) {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (exposed()) loop.quit();
        });
        poll.start(2);
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    window->repaint();
}

void Paint(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

int GameKeyCode(const QKeyEvent* event) {
    const int key = event->key();
    const bool keypad = event->modifiers().testFlag(Qt::KeypadModifier);
    if (keypad) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9) return KeyPad(key - Qt::Key_0);
        if (key == Qt::Key_Period || key == Qt::Key_Comma || key == Qt::Key_Delete) return kKeyPadPoint;
        // With Num Lock off the keypad sends its arrow meanings.
        // A key table, one key a line.
        // clang-format off
        switch (key) {
            case Qt::Key_Left: return kKeyLeft;
            case Qt::Key_Up: return kKeyUp;
            case Qt::Key_Right: return kKeyRight;
            case Qt::Key_Down: return kKeyDown;
            case Qt::Key_Enter: return kKeyEnter;
            default: break;
        }
    }
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return kKeyEnter;
        case Qt::Key_Left: return kKeyLeft;
        case Qt::Key_Up: return kKeyUp;
        case Qt::Key_Right: return kKeyRight;
        case Qt::Key_Down: return kKeyDown;
        case Qt::Key_F1: return kKeyF1;
        default: break;
    }
    // clang-format on
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
    return 0;
}

namespace {
QString FirstInstalledFamily(const QStringList& wanted) {
    const QStringList families = QFontDatabase::families();
    for (const QString& f : wanted)
        if (families.contains(f, Qt::CaseInsensitive)) return f;
    return {};
}

}  // namespace

QFont GameFont(int pointSize) {
    static const QString family = FirstInstalledFamily({"Noto Sans CJK JP", "Noto Sans JP", "IPAGothic"});
    QFont font(family.isEmpty() ? QFont().family() : family, pointSize);
    return font;
}

QFont Emboldened(QFont font) {
    // With a style name, matching goes by it alone, and the weight is then drawn by thickening.
    font.setStyleName(QStringLiteral("Regular"));
    font.setBold(true);
    return font;
}

QFont FixedWidthFont(int pointSize) {
    static const QString family =
        FirstInstalledFamily({"Noto Sans Mono CJK JP", "IPAGothic", "VL Gothic", "Noto Sans CJK JP"});
    QFont font(family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont).family() : family, pointSize);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

QString InstalledDataDirBeside(const QString& programDir) {
    return QDir::cleanPath(QDir(programDir).filePath(QStringLiteral(TARVEX_DATA_DIR_FROM_PROGRAM)));
}

QStringList DataSearchRoots() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    return {
        QDir(exeDir).filePath("data"),
        InstalledDataDirBeside(exeDir),
        QStringLiteral(TARVEX_DATA_DIR_SOURCE),
        // What the build works out from the data (map/europe.reach).
        QStringLiteral(TARVEX_DATA_DIR_BUILD),
        QStringLiteral(TARVEX_DATA_DIR_INSTALLED),
    };
}

QString FindDataFile(const QString& relative) {
    for (const QString& root : DataSearchRoots()) {
        const QFileInfo info(QDir(root).filePath(relative));
        if (info.isFile()) return info.canonicalFilePath();
    }
    return {};
}

}  // namespace tarvex::ui
