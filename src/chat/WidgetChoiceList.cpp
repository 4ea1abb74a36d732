#include "chat/WidgetChoiceList.h"

#include "chat/ChatModels.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

void BindChoiceList(QComboBox* combo, ChoiceList& choices)
{
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // Completing would change what the user types into something else.
    combo->setCompleter(nullptr);
    combo->setModel(&choices);

    const auto follow = [combo, &choices] {
        const QSignalBlocker block(combo);
        combo->setCurrentIndex(choices.ItemIndex());
        if (choices.ItemIndex() < 0)
            combo->setEditText(choices.Text());
    };
    follow();
    QObject::connect(&choices, &ChoiceList::itemIndexChanged, combo, follow);
    QObject::connect(&choices, &ChoiceList::textChanged, combo, follow);
    // The combo box moves its selection by itself when entries arrive.
    QObject::connect(&choices, &QAbstractItemModel::rowsInserted, combo, follow);
    QObject::connect(&choices, &QAbstractItemModel::modelReset, combo, follow);
    QObject::connect(combo, &QComboBox::activated, combo,
                     [&choices](int index) { choices.SetItemIndex(index); });
    QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, combo,
                     [&choices](const QString& text) { choices.EditText(text); });
}
