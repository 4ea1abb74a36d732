#include "chat/ChatState.h"

#include "chat/ChatModels.h"
#include "protocol/TextLog.h"

namespace {

QJsonArray rowsJson(const MessageListModel& list)
{
    QJsonArray rows;
    for (const TMessageRow& row : list.Rows())
        rows.append(QJsonArray{row.Caption, row.Date, row.Text});
    return rows;
}

} // namespace

QJsonArray TextLogJson(const TextLog& log)
{
    QJsonArray lines;
    for (const TextLog::Line& line : log.lines())
        lines.append(QJsonObject{{"text", line.text},
                                 {"colour", line.colour.isValid() ? line.colour.name() : QString()}});
    return lines;
}

QJsonObject ChoiceListJson(const ChoiceList& choices)
{
    return {{"items", QJsonArray::fromStringList(choices.Items())},
            {"selected", choices.ItemIndex()},
            {"text", choices.Text()}};
}

QJsonObject MessagesBoxJson(const MessagesBox& box)
{
    return {{"Visible", box.Visible()},
            {"PageIndex", box.PageIndex()},
            {"LVInBox", rowsJson(box.LVInBox)},
            {"LVSend", rowsJson(box.LVSend)},
            {"CBRecipient", ChoiceListJson(box.CBRecipient)},
            {"MMessage", box.MMessage()},
            {"MWriteMessage", box.MWriteMessage()}};
}
