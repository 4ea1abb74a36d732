#include "chat/ChatStretch.h"

#include "model/Words.h"
#include "protocol/ClientSession.h"
#include "protocol/LineDispatcher.h"
#include "protocol/MatchStartStretch.h"

#include <QDateTime>
#include <QLocale>

namespace {

const QColor ChatGreen(0, 128, 0);
const QColor Black(0, 0, 0);
const QString RepBot = QStringLiteral("RepBot");

QString Word(int n, const QString& line)
{
    return GetWord(n, line, QStringLiteral(" "));
}

bool IsOneOf(const QString& code, std::initializer_list<const char*> codes)
{
    for (const char* c : codes) {
        if (code == QLatin1String(c))
            return true;
    }
    return false;
}

// The codes of the chat and message lines. A line is one of them only when its first word is
// the code itself, so free text that merely starts with digits is left alone.
bool IsChatCode(const QString& code)
{
    return IsOneOf(code, {"9", "10", "11", "12", "13", "14", "15", "16", "17", "18", "19"});
}

void PublicLine(ClientSession& s, const QString& line, const QString& who)
{
    QColor colour = Black;
    if (s.LVFriends.Contains(who))
        colour = ChatGreen;
    if (s.LVVilains.Contains(who))
        return;
    s.MPublicMessages.addLine(line.mid(3), colour);
}

void ReplyTarget(ClientSession& s, const QString& who)
{
    s.CBPrivate.SelectOrAdd(QStringLiteral("Tell ") + who);
}

// Returns false for a line left to later rows.
bool PrivateLine(ClientSession& s, const QString& line, const QString& code)
{
    if (s.Settings.ShowChatTab)
        emit s.chatPageWanted();
    if (code == QLatin1String("12") && line.contains(RepBot))
        return false;
    const QString text = line.mid(3);
    if (code == QLatin1String("16"))
        s.MPrivateMessages.addLine(QStringLiteral("You told : ") + text, ChatGreen);
    else if (code == QLatin1String("18"))
        s.MPrivateMessages.addLine(QStringLiteral("You whispered : ") + text, ChatGreen);
    else if (code == QLatin1String("19"))
        s.MPrivateMessages.addLine(QStringLiteral("You kibitzed : ") + text, ChatGreen);
    else
        s.MPrivateMessages.addLine(text, Black);
    return true;
}

// The message of a stored-message line: what follows its code, sender and time words.
QString StoredMessageText(const QString& line)
{
    qsizetype at = -1;
    for (int blanks = 0; blanks < 3; ++blanks) {
        at = line.indexOf(QLatin1Char(' '), at + 1);
        if (at < 0)
            return QString();
    }
    return line.mid(at + 1);
}

void InBoxEntry(ClientSession& s, QString& line, const QString& who)
{
    line += QLatin1Char(' ');
    s.FFibsMessage.Show(MessagesBox::InBoxPage);
    const QString message = StoredMessageText(line);
    s.FFibsMessage.LVInBox.Add(
        {who, QLocale::system().toString(QTime::currentTime(), QLocale::LongFormat), message});
    // The message goes to the console as it is: someone else's text is never taken for a
    // server line by the tests that follow.
    if (!message.isEmpty())
        s.DisplayLine(message);
    line.clear();
}

void SentListEntry(ClientSession& s, const QString& who, const QString& status)
{
    s.FFibsMessage.LVSend.Add(
        {who, QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat), status});
}

void HandleChatLine(ClientSession& s, QString& line)
{
    if (line.isEmpty())
        return;
    const QString code = line.left(line.indexOf(QLatin1Char(' ')));
    // A line without a sender comes from nobody: no list holds the empty name.
    const QString who = line.contains(QLatin1Char(' ')) ? Word(1, line) : QString();

    if (IsOneOf(code, {"13", "17"})) {
        PublicLine(s, line, who);
        line.clear();
        return;
    }
    const bool villain = IsOneOf(code, {"12", "16", "18", "19"}) && s.LVVilains.Contains(who);
    if (code == QLatin1String("12") && !who.isEmpty() && who != RepBot && !villain)
        ReplyTarget(s, who);
    if (IsOneOf(code, {"12", "14", "15", "16", "18", "19"}) && !villain) {
        if (PrivateLine(s, line, code))
            line.clear();
        return;
    }
    if (code == QLatin1String("9")) {
        InBoxEntry(s, line, who);
        return;
    }
    if (code == QLatin1String("10")) {
        SentListEntry(s, who, QStringLiteral("Message delivered"));
        return;
    }
    if (code == QLatin1String("11")) {
        SentListEntry(s, who, QStringLiteral("Message saved"));
        line.clear();
        return;
    }
    // Only the server's own notice counts: a tell or a message quoting it does not.
    if (!IsChatCode(code) && line.contains(QLatin1String("bans you from watching."))) {
        const QString notice = line;
        s.Watching = false;
        line.clear();
        s.Ports().prompter->information(QStringLiteral("Tabulon"), notice);
    }
}

} // namespace

void InstallChatStretch(ClientSession& session)
{
    session.Dispatcher().SetHandler("chat", [&session](QString& line) { HandleChatLine(session, line); });
}

void EShoutKeyDown(ClientSession& s, const QString& text)
{
    if (s.IsConnected())
        s.SendCommand(QStringLiteral("shout ") + JoinLines(text, QStringLiteral(" ")));
}

void EKibitzKeyDown(ClientSession& s, const QString& text)
{
    if (s.IsConnected() && s.CBPrivate.ItemIndex() >= 0)
        s.SendCommand(s.CBPrivate.Text() + QLatin1Char(' ') + JoinLines(text, QStringLiteral(" ")));
}

void Tell1Click(ClientSession& s)
{
    const QString name = SelectedPlayerName(s);
    if (!name.isEmpty())
        s.CBPrivate.SelectOrAdd(QStringLiteral("Tell ") + name);
}

void Message2Click(ClientSession& s)
{
    const QString name = SelectedPlayerName(s);
    if (name.isEmpty() || !s.IsConnected())
        return;
    s.FFibsMessage.CBRecipient.SetText(name);
    s.FFibsMessage.Show(MessagesBox::WritePage);
    s.FFibsMessage.FocusWriteMessage();
}

void Showmessagesbox1Click(ClientSession& s)
{
    QStringList names;
    for (const TFriendRow& row : s.LVFriends.Rows())
        names.append(row.Name);
    ChoiceList& recipients = s.FFibsMessage.CBRecipient;
    recipients.SetItems(names);
    if (!names.isEmpty())
        recipients.SetItemIndex(0);
    s.FFibsMessage.Show(MessagesBox::InBoxPage);
}

void BSendClick(ClientSession& s)
{
    MessagesBox& box = s.FFibsMessage;
    const QString text = JoinLines(box.MWriteMessage(), QStringLiteral("_"));
    box.SetWriteMessage(text);
    const QString recipient = JoinLines(box.CBRecipient.Text(), QStringLiteral(" ")).trimmed();
    if (s.IsConnected() && !recipient.isEmpty())
        s.SendCommand(QStringLiteral("message ") + recipient + QLatin1Char(' ') + text);
}
