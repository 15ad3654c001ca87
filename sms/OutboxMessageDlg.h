#pragma once
// The compose dialog ("Outbox Message"): a recipient and a text of at most 70 characters, sent
// with Send, or sent and a copy stored with Save&Send; the outcome is told in a box. The work is
// the compose sender's (sms/ComposeSender); the dialog holds what the user typed. Its validity
// and report controls lie below the visible area: they only show what a stored message carried.

#include <string>

#include "platform/qt/Dialog.h"
#include "sms/MessageWork.h"
#include "sms/codec/ShortMessage.h"

class COutboxMessageDlg : public platform::qt::CDialog {
    Q_OBJECT
public:
    static constexpr int kMaxText = 70;

    explicit COutboxMessageDlg(sms::MessageWork work, QWidget* parent = nullptr);

    // Before showing, from the message view: with an index of 0 or more the recipient and the
    // text are taken (Reply: the sender and no text; Forward: no recipient and the text).
    void SetMessageFields(const std::u16string& recipient, const std::u16string& text, int index);
    // Before showing, from the outbox page: the fields of a stored message, or (no message,
    // index -1) everything cleared for a new one.
    void LoadFromMessage(const CShortMessage* message, int index);

    // The dialog's state: 0 Relative, 1 Absolute, -1 none.
    int GetValidityChoice() const { return m_nValidity; }
    const std::u16string& GetRecipient() const { return m_strRecipient; }
    const std::u16string& GetMessageText() const { return m_strMessage; }
    const std::u16string& GetValidityText() const { return m_strValidity; }
    const std::u16string& GetMonth() const { return m_strMonth; }
    const std::u16string& GetDay() const { return m_strDay; }
    const std::u16string& GetYear() const { return m_strYear; }
    bool GetDeliverReport() const { return m_nDeliverReport == 1; }
    bool GetReplyPath() const { return m_nReplyPath == 1; }
    int GetSourceIndex() const { return m_nSourceIndex; }

    // Asked before the dialog closes over text the user typed and has not sent.
    static constexpr const char16_t* kDiscardQuestion =
        u"Close without sending? The text you typed will be lost.";

protected:
    platform::BOOL OnInitDialog() override;
    // Exit and Cancel (Escape, the window's close button) ask first when typed text would go.
    void OnOK() override;
    void OnCancel() override;
    // Enter in a one-line box moves on to the next control instead of closing the dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The recipient or the text differs from what the dialog was filled with or sent last.
    bool HasUnsentText();
    // Remembers what the controls hold now as nothing to lose.
    void KeepAsShown();
    // True when the dialog may close: nothing to lose, or the user said so.
    bool MayClose();
    // Fields into the controls, or (save) the controls into the fields.
    void DoDataExchange(bool save);
    void OnValidityChoice(int choice);
    void EnableValidityControls();
    void OnSend(bool save);

    int m_nValidity = -1;
    int m_nDeliverReport = 0;
    int m_nReplyPath = 0;
    std::u16string m_strMessage;
    std::u16string m_strDay;
    std::u16string m_strMonth;
    std::u16string m_strYear;
    std::u16string m_strValidity;
    std::u16string m_strRecipient;
    int m_nSourceIndex = -1;
    sms::MessageWork m_work;
    bool m_bConnected = false;  // the controls' signals are connected
    // The recipient and the text as filled in or last sent.
    std::u16string m_strShownRecipient;
    std::u16string m_strShownMessage;
};
