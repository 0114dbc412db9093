// The settings screen "設定画面": the player's nation, the message speed,
// whether every step waits for OK and how well the computer plays a new game;
// the first window of a run.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <utility>

#include "screens/session/session.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tarvex::ui {

class KeyPreview;
class QtScreen;

class SettingsWindow : public QWidget {
    Q_OBJECT
public:
    // Loading the window takes the remembered settings into its controls.
    SettingsWindow(Session& game, QtScreen& screen, QWidget* parent = nullptr);
    // What the nation chooser's list shows for an entry ("イングランド王国（3都市）");
    // the entry's own text is the bare name the box takes.
    static constexpr int kEntryLabelRole = Qt::UserRole + 1;
    ~SettingsWindow() override;

    void Sync();
    // Shows the window with the current settings and brings it forward.
    void ShowForward();
    // Hidden, gives the window system back its window and picture until it shows again.
    void Release();
    // "前回の続きから" was pressed: the main window loads the autosave once it is up. True once.
    bool TakeResume() { return std::exchange(resume_, false); }

signals:
    // The settings were accepted and the window has closed: the main window comes next.
    void accepted();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The window's parts, top to bottom, built once.
    QGroupBox* BuildSpeedBox();
    QGroupBox* BuildStrengthBox();
    void BuildEnterAdvance();
    QLabel* BuildNationChooser();
    // OK, "前回の続きから", the defaults and help, in the order they stand.
    std::array<QPushButton*, 4> BuildButtons();
    void LayOut(QGroupBox* speed, QGroupBox* strength, QLabel* nationLabel, const std::array<QPushButton*, 4>& row);
    void Run(const std::function<void(Session&)>& handler);
    bool PreviewKey(QKeyEvent* event);
    void ApplyFocusRequest();
    // The name box takes the focus with all of its text chosen.
    void FocusName();
    // The chooser's entry for the name in the box, without touching the text.
    void ShowChosenEntry(const QString& name);
    // Shows the options of a group with `chosen` checked, or none when it is out of range.
    void CheckOnly(QButtonGroup* group, int chosen);
    // Accepted: the level the new game takes is remembered for the next run.
    void KeepChoices();

    Session& game_;
    QtScreen& screen_;
    bool syncing_ = false;
    bool applyingFocus_ = false;
    int appliedFocusSerial_ = -1;

    QComboBox* chooser_ = nullptr;     // the name box with the nations under it
    QLineEdit* nationName_ = nullptr;  // the chooser's own box, where the name is typed
    QPushButton* accept_ = nullptr;
    // Offered when the last game ended without the quit question: its autosave goes on.
    QPushButton* resumeButton_ = nullptr;
    bool resume_ = false;
    std::array<QRadioButton*, 4> options_{};
    QButtonGroup* optionGroup_ = nullptr;
    QGroupBox* strengthBox_ = nullptr;
    QButtonGroup* strengthGroup_ = nullptr;  // ids are the levels 1..3
    QCheckBox* enterAdvance_ = nullptr;
    KeyPreview* keys_ = nullptr;
};

}  // namespace tarvex::ui
