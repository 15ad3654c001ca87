#include "tools/pdu/PduJson.h"

#include <span>

#include "sms/codec/SmsCommand.h"
#include "sms/codec/SmsDeliver.h"
#include "sms/codec/SmsStatusReport.h"
#include "sms/codec/SmsSubmit.h"
#include "sms/codec/SmsSubmitReport.h"
#include "text/Hex.h"
#include "text/Utf.h"

namespace pdutool {
namespace {

using Json = nlohmann::ordered_json;
using text::ToUtf8;

// Strings that hold one octet per character.
std::string OctetHex(std::u16string_view octets) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(octets.size());
    for (char16_t c : octets) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    }
    return text::OctetsToHex(bytes);
}

Json AddressJson(const SmsAddress& address) {
    return Json{{"ton", address.typeOfNumber},
                {"npi", address.numberingPlan},
                {"digits", ToUtf8(address.number)}};
}

Json TimeJson(const SmsDateTime& t) {
    return Json{{"year", t.year}, {"month", t.month},      {"day", t.day},
                {"hour", t.hour}, {"minute", t.minute},    {"second", t.second},
                {"zone", t.zone}, {"zoneSign", t.zoneSign}};
}

Json ValidityJson(const SmsValidity& v) {
    Json json{{"format", v.format}};
    if (v.format == kValidityRelative) {
        json["relative"] = v.relative;
    } else if (v.format == kValidityAbsolute) {
        json["absolute"] = TimeJson(v.absolute);
    } else if (v.format == kValidityEnhanced) {
        json["enhanced"] = text::OctetsToHex(v.enhanced);
    }
    return json;
}

int ParameterIndicator(const CSmsTransferReport& report) {
    return (report.GetPidPresent() != 0 ? 1 : 0) | (report.GetDcsPresent() != 0 ? 2 : 0) |
           (report.GetUdlPresent() != 0 ? 4 : 0);
}

}  // namespace

Json MessageToJson(const CShortMessage& message) {
    Json json;
    json["class"] = nullptr;
    json["mti"] = message.GetMessageType();
    json["smsc"] = AddressJson(message.GetServiceCentre());
    json["address"] = AddressJson(message.GetAddress());

    if (const auto* m = dynamic_cast<const CSmsDeliver*>(&message)) {
        json["class"] = "CSmsDeliver";
        json["mms"] = m->GetMoreMessages();
        json["sri"] = m->GetStatusReportIndication();
        json["rp"] = m->GetReplyPath();
        json["pid"] = m->GetPid();
        json["dcs"] = m->GetDcs();
        json["timestamp"] = TimeJson(m->GetTimeStamp());
    } else if (const auto* m = dynamic_cast<const CSmsSubmit*>(&message)) {
        json["class"] = "CSmsSubmit";
        json["rd"] = m->GetRejectDuplicates();
        json["vpf"] = m->GetValidityPeriodFormat();
        json["srr"] = m->GetStatusReportRequest();
        json["rp"] = m->GetReplyPath();
        json["mr"] = m->GetMessageReference();
        json["pid"] = m->GetPid();
        json["dcs"] = m->GetDcs();
        json["validity"] = ValidityJson(m->GetValidity());
    } else if (const auto* m = dynamic_cast<const CSmsStatusReport*>(&message)) {
        json["class"] = "CSmsStatusReport";
        json["mms"] = m->GetMoreMessages();
        json["srq"] = m->GetStatusReportQualifier();
        json["mr"] = m->GetMessageReference();
        json["timestamp"] = TimeJson(m->GetTimeStamp());
        json["discharge"] = TimeJson(m->GetDischargeTime());
        json["st"] = m->GetStatus();
    } else if (const auto* m = dynamic_cast<const CSmsCommand*>(&message)) {
        json["class"] = "CSmsCommand";
        json["srr"] = m->GetStatusReportRequest();
        json["mr"] = m->GetMessageReference();
        json["pid"] = m->GetPid();
        json["ct"] = m->GetCommandType();
        json["mn"] = m->GetMessageNumber();
        json["cdl"] = m->GetCommandDataLength();
        json["cd"] = OctetHex(m->GetCommandData());
    } else if (const auto* m = dynamic_cast<const CSmsTransferReport*>(&message)) {
        const bool submitReport = dynamic_cast<const CSmsSubmitReport*>(m) != nullptr;
        json["class"] = submitReport ? "CSmsSubmitReport" : "CSmsDeliverReport";
        if (submitReport) {
            json["timestamp"] = TimeJson(m->GetTimeStamp());
        }
        json["pi"] = ParameterIndicator(*m);
        json["pid"] = m->GetPid();
        json["dcs"] = m->GetDcs();
    }
    json["header"] = OctetHex(message.GetHeader());
    json["text"] = ToUtf8(message.GetText());
    return json;
}

}  // namespace pdutool
