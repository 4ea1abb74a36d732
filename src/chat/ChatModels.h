#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <QStringListModel>

#include <array>
#include <vector>

// The entries of a combo box the user may also type into: a selected entry, or typed text
// with no entry selected.
class ChoiceList : public QStringListModel {
    Q_OBJECT
public:
    explicit ChoiceList(const QStringList& items = {}, QObject* parent = nullptr);

    QStringList Items() const { return stringList(); }
    int ItemIndex() const { return itemIndex_; }
    // The selected entry, or what the user typed.
    QString Text() const;

    // An index outside the list selects nothing.
    void SetItemIndex(int index);
    // Appends an entry; returns its index.
    int Add(const QString& text);
    // New entries, none selected and no text.
    void SetItems(const QStringList& items);
    // Selects the entry with that text, appending it first when it is not there.
    void SelectOrAdd(const QString& text);
    // Text put into the box by the program: no entry is selected.
    void SetText(const QString& text);
    // Text the user typed: no entry is selected; the box shows it already.
    void EditText(const QString& text);

signals:
    void itemIndexChanged(int index);
    void textChanged(const QString& text);

private:
    int itemIndex_ = -1;
    QString text_;
};

// One row of a report list of the messages window: the caption and two sub-items.
struct TMessageRow {
    QString Caption;
    QString Date;
    QString Text; // the message (in box) or the status (sent list)
};

// The in box (LVInBox) or the sent list (LVSend) of the messages window.
class MessageListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 3;
    static constexpr std::array<int, ColumnCount> ColumnWidths{200, 70, 230};

    MessageListModel(const QStringList& captions, QObject* parent = nullptr);

    const std::vector<TMessageRow>& Rows() const { return rows_; }
    void Add(const TMessageRow& row);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QStringList captions_;
    std::vector<TMessageRow> rows_;
};

// What the messages window holds and shows; the window follows it.
class MessagesBox : public QObject {
    Q_OBJECT
public:
    static constexpr int InBoxPage = 0;
    static constexpr int SendPage = 1;
    static constexpr int WritePage = 2;

    explicit MessagesBox(QObject* parent = nullptr);

    MessageListModel LVInBox{{QStringLiteral("Name"), QStringLiteral("Date"), QStringLiteral("Message")}};
    MessageListModel LVSend{{QStringLiteral("Recipient"), QStringLiteral("Date"), QStringLiteral("Status")}};
    ChoiceList CBRecipient;

    bool Visible() const { return visible_; }
    int PageIndex() const { return page_; }
    // The selected in-box message, its line breaks restored (CR LF).
    const QString& MMessage() const { return message_; }
    const QString& MWriteMessage() const { return writeMessage_; }

    // Shows the window with that page in front.
    void Show(int page);
    void Hide();
    // The window tells what the user did with it.
    void SetVisible(bool visible) { visible_ = visible; }
    void SetPageIndex(int page) { page_ = page; }
    void SelectInBoxRow(int row);
    void SetWriteMessage(const QString& text);
    // Asks the window to put the keyboard focus on the message memo.
    void FocusWriteMessage() { emit writeFocusWanted(); }

signals:
    void showWanted(int page);
    void hideWanted();
    void messageChanged(const QString& text);
    void writeMessageChanged(const QString& text);
    void writeFocusWanted();

private:
    bool visible_ = false;
    int page_ = InBoxPage;
    QString message_;
    QString writeMessage_;
};

// Every line break of user text (CR LF, CR or LF alone, and the editors' paragraph and line
// separators) replaced by the given text, so the text stays one server command.
QString JoinLines(const QString& text, const QString& separator);
