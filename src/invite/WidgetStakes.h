#pragma once

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QWidget;

// A label for server text, shown as it came and never as markup.
QLabel* PlainLabel(QWidget* parent, const char* name);

// The opponent's profile memo and the "Probabilities" box of the invite and join windows.
struct TStakesWidgets {
    QPlainTextEdit* Memo1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* LProb = nullptr;
    QLabel* LWin = nullptr;
    QLabel* LLose = nullptr;
};
TStakesWidgets MakeStakesWidgets(QWidget* parent);
