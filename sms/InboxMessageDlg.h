#pragma once
// The message view ("Inbox Message"): the number, date and text of a received message, with
// Reply and Forward, which open the compose dialog over it. Enter does not close it.

#include <string>
#include <string_view>

#include "platform/qt/Dialog.h"
#include "sms/MessageRows.h"
#include "sms/MessageWork.h"
#include "sms/codec/ShortMessage.h"

class CInboxMessageDlg : public platform::qt::CDialog {
    Q_OBJECT
public:
    explicit CInboxMessageDlg(sms::MessageWork work, QWidget* parent = nullptr);

    // Fills the view from a row's message; a negative row changes nothing else. A row whose PDU
    // could not be decoded shows that PDU as its text.
    void ShowMessage(const CShortMessage* message, int row, std::u16string_view pdu = {});
    // The same for a row of the inbox page: the whole text of a long message, all its parts.
    void ShowMessage(const sms::MessageRow& message, int row, std::u16string_view pdu = {});

    const std::u16string& GetDate() const { return m_strDate; }
    const std::u16string& GetNumber() const { return m_strNumber; }
    const std::u16string& GetSender() const { return m_strSender; }
    // "From: name <number>", empty when the text names no sender.
    const std::u16string& GetFromLine() const { return m_strFrom; }
    const std::u16string& GetMessageText() const { return m_strMessage; }
    bool GetMoreMessages() const { return m_bMoreMessages; }
    bool GetReplyPath() const { return m_bReplyPath; }
    int GetPosition() const { return m_nPosition; }

protected:
    platform::BOOL OnInitDialog() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void DoDataExchange();
    void OnReply();
    void OnForward();

    sms::MessageWork m_work;
    std::u16string m_strDate;
    bool m_bMoreMessages = false;
    std::u16string m_strSender;
    std::u16string m_strFrom;
    std::u16string m_strNumber;
    bool m_bReplyPath = false;
    std::u16string m_strMessage;
    int m_nPosition = -1;
    // Where a reply goes: the number, with "+" when international; empty for a name.
    std::u16string m_strReplyTo;
    bool m_bFromName = false;
    bool m_bConnected = false;  // the buttons' signals are connected
};
