#include "chat/TFMessages.h"

#include "app/WidgetReportView.h"
#include "chat/ChatStretch.h"
#include "chat/WidgetChoiceList.h"
#include "protocol/ClientSession.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

QTreeView* makeList(QWidget* parent, const char* name, MessageListModel& model)
{
    QTreeView* view = MakeReportView(parent, name);
    view->setModel(&model);
    for (int c = 0; c < MessageListModel::ColumnCount; ++c)
        view->header()->resizeSection(c, MessageListModel::ColumnWidths[std::size_t(c)]);
    return view;
}

QPlainTextEdit* makeMemo(QWidget* parent, const char* name)
{
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(QLatin1String(name));
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return memo;
}

// The memo shows CR LF line breaks as plain ones.
QString MemoText(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

TFFibsMessage::TFFibsMessage(ClientSession& session, QWidget* owner)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                           | Qt::WindowCloseButtonHint),
      session_(session),
      owner_(owner)
{
    setObjectName(QStringLiteral("FFibsMessage"));
    setWindowTitle(QStringLiteral("Messages"));
    setModal(false);
    // Left open, it must not keep the program running once the main window is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    MessagesBox& box = session_.FFibsMessage;

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setDocumentMode(true);

    auto* inBox = new QWidget;
    inBox->setObjectName(QStringLiteral("TabSheet1"));
    LVInBox = makeList(inBox, "LVInBox", box.LVInBox);
    MMessage = makeMemo(inBox, "MMessage");
    MMessage->setReadOnly(true);
    auto* inBoxLayout = new QVBoxLayout(inBox);
    inBoxLayout->addWidget(LVInBox, 3);
    inBoxLayout->addWidget(MMessage, 2);

    auto* sent = new QWidget;
    sent->setObjectName(QStringLiteral("TabSheet2"));
    LVSend = makeList(sent, "LVSend", box.LVSend);
    auto* sentLayout = new QVBoxLayout(sent);
    sentLayout->addWidget(LVSend);

    auto* write = new QWidget;
    write->setObjectName(QStringLiteral("TabSheet3"));
    auto* recipientLabel = new QLabel(QStringLiteral("Recipient : "), write);
    CBRecipient = new QComboBox(write);
    CBRecipient->setObjectName(QStringLiteral("CBRecipient"));
    recipientLabel->setBuddy(CBRecipient);
    MWriteMessage = makeMemo(write, "MWriteMessage");
    BSend = new QPushButton(QStringLiteral("Send"), write);
    BSend->setObjectName(QStringLiteral("BSend"));
    BCancel = new QPushButton(QStringLiteral("Cancel"), write);
    BCancel->setObjectName(QStringLiteral("BCancel"));
    auto* recipientRow = new QHBoxLayout;
    recipientRow->addWidget(recipientLabel);
    recipientRow->addWidget(CBRecipient, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BSend);
    buttons->addWidget(BCancel);
    auto* writeLayout = new QVBoxLayout(write);
    writeLayout->addLayout(recipientRow);
    writeLayout->addWidget(MWriteMessage, 1);
    writeLayout->addLayout(buttons);

    PageControl1->addTab(inBox, QStringLiteral("In box"));
    PageControl1->addTab(sent, QStringLiteral("Send"));
    PageControl1->addTab(write, QStringLiteral("Write message"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(PageControl1);
    setFixedSize(540, 400);

    BindChoiceList(CBRecipient, box.CBRecipient);
    connect(&box, &MessagesBox::showWanted, this, &TFFibsMessage::showPage);
    connect(&box, &MessagesBox::hideWanted, this, &QWidget::hide);
    connect(PageControl1, &QTabWidget::currentChanged, this,
            [&box](int page) { box.SetPageIndex(page); });
    connect(LVInBox->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [&box](const QModelIndex& current) { box.SelectInBoxRow(current.row()); });
    connect(&box, &MessagesBox::messageChanged, this,
            [this](const QString& text) { MMessage->setPlainText(MemoText(text)); });
    connect(MWriteMessage, &QPlainTextEdit::textChanged, this,
            [this, &box] { box.SetWriteMessage(MWriteMessage->toPlainText()); });
    connect(&box, &MessagesBox::writeMessageChanged, this, [this](const QString& text) {
        if (MWriteMessage->toPlainText() != text)
            MWriteMessage->setPlainText(text);
    });
    connect(&box, &MessagesBox::writeFocusWanted, this, [this] { MWriteMessage->setFocus(); });
    connect(BSend, &QPushButton::clicked, this, [this] { BSendClick(session_); });
    connect(BCancel, &QPushButton::clicked, &box, &MessagesBox::Hide);
}

void TFFibsMessage::showPage(int page)
{
    PageControl1->setCurrentIndex(page);
    show();
    raise();
}

void TFFibsMessage::showEvent(QShowEvent* event)
{
    if (!placed_ && owner_) {
        placed_ = true;
        move(owner_->geometry().center() - rect().center());
    }
    session_.FFibsMessage.SetVisible(true);
    QDialog::showEvent(event);
}

void TFFibsMessage::hideEvent(QHideEvent* event)
{
    session_.FFibsMessage.SetVisible(false);
    QDialog::hideEvent(event);
}
