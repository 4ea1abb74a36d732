#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QRadioButton;
class QSlider;
class QTreeWidget;
class SettingsFile;
struct TSettings;

// The Board tab of the Preferences window: the list of themes with their previews, the choice
// of checkers and the animation speed.
class WidgetBoardsPage : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize PreviewBoardSize{300, 228};
    static constexpr int PreviewCheckerSide = 48;

    explicit WidgetBoardsPage(const QString& appFolder, QWidget* parent = nullptr);

    // Fills the controls when the Preferences window opens; currentBoardName is the name of
    // the theme in use.
    void Fill(const TSettings& settings, const QString& currentBoardName);
    // Tab shown: focus on the list, the theme in use selected and previewed.
    void TabSheet2Show();
    // Selection changed: preview of the selected theme.
    void LVBoardsChange();
    // The Ok path's board steps, written into the caller's open settings file (the caller
    // saves it once for the whole Ok path): AnimationSpeed, then, when a theme is selected,
    // DefaultBoard (only for another theme) and PlayWithBlueChecker. Ends with
    // themeReloadWanted.
    void ApplyBoardSettings(TSettings& settings, SettingsFile& file);
    // Frees the preview pictures, when the Preferences window closes.
    void ReleasePreviews();

    QTreeWidget* LVBoards;
    QLabel* IpreviewBoard;
    QLabel* IPreviewCheckerBlue;
    QLabel* IPreviewCheckerRed;
    QPlainTextEdit* MAbout;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QSlider* TBAnimationSpeed;

signals:
    // The theme is to be applied again from the settings.
    void themeReloadWanted();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showPreview(const QString& caption);

    QString appFolder_;
    QString currentBoardName_;
};
