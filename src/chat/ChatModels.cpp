#include "chat/ChatModels.h"

ChoiceList::ChoiceList(const QStringList& items, QObject* parent) : QStringListModel(items, parent)
{
    if (!items.isEmpty())
        itemIndex_ = 0;
}

QString ChoiceList::Text() const
{
    return itemIndex_ >= 0 ? stringList().at(itemIndex_) : text_;
}

void ChoiceList::SetItemIndex(int index)
{
    if (index < 0 || index >= rowCount())
        index = -1;
    itemIndex_ = index;
    emit itemIndexChanged(itemIndex_);
}

int ChoiceList::Add(const QString& text)
{
    const int row = rowCount();
    insertRows(row, 1);
    setData(this->index(row), text);
    return row;
}

void ChoiceList::SetItems(const QStringList& items)
{
    setStringList(items);
    SetText(QString());
}

void ChoiceList::SelectOrAdd(const QString& text)
{
    const int found = int(stringList().indexOf(text));
    SetItemIndex(found >= 0 ? found : Add(text));
}

void ChoiceList::SetText(const QString& text)
{
    EditText(text);
    emit itemIndexChanged(itemIndex_);
    emit textChanged(text_);
}

void ChoiceList::EditText(const QString& text)
{
    itemIndex_ = -1;
    text_ = text;
}

MessageListModel::MessageListModel(const QStringList& captions, QObject* parent)
    : QAbstractTableModel(parent), captions_(captions)
{
}

void MessageListModel::Add(const TMessageRow& row)
{
    const int at = int(rows_.size());
    beginInsertRows(QModelIndex(), at, at);
    rows_.push_back(row);
    endInsertRows();
}

int MessageListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int MessageListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant MessageListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= int(rows_.size()))
        return {};
    const TMessageRow& row = rows_[std::size_t(index.row())];
    switch (index.column()) {
    case 0:
        return row.Caption;
    case 1:
        return row.Date;
    case 2:
        return row.Text;
    default:
        return {};
    }
}

QVariant MessageListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0
        || section >= captions_.size())
        return {};
    return captions_.at(section);
}

MessagesBox::MessagesBox(QObject* parent) : QObject(parent) {}

void MessagesBox::Show(int page)
{
    visible_ = true;
    page_ = page;
    emit showWanted(page);
}

void MessagesBox::Hide()
{
    visible_ = false;
    emit hideWanted();
}

void MessagesBox::SelectInBoxRow(int row)
{
    if (row < 0 || row >= int(LVInBox.Rows().size()))
        return;
    QString text = LVInBox.Rows()[std::size_t(row)].Text;
    message_ = text.replace(QLatin1Char('_'), QStringLiteral("\r\n"));
    emit messageChanged(message_);
}

void MessagesBox::SetWriteMessage(const QString& text)
{
    if (text == writeMessage_)
        return;
    writeMessage_ = text;
    emit writeMessageChanged(writeMessage_);
}

QString JoinLines(const QString& text, const QString& separator)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            out += separator;
        } else if (c == QLatin1Char('\n') || c == QChar::ParagraphSeparator
                   || c == QChar::LineSeparator) {
            out += separator;
        } else {
            out += c;
        }
    }
    return out;
}
