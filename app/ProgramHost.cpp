#include "app/ProgramHost.h"

#include "app/Utf8Text.h"
#include "link/PhoneLink.h"
#include "link/RegSettings.h"

#include "phonesim/Phone.h"
#include "phonesim/Profile.h"
#include "phonesim/SimSerialPort.h"
#include "platform/Clock.h"
#include "platform/FakeSerialPorts.h"
#include "platform/TermiosSerialPort.h"

using namespace platform;

namespace app {

namespace {

constexpr const char16_t* kPortKey = u"ExtModems\\Bluetooth";
constexpr const char16_t* kSimPort = u"sim0";

}  // namespace

std::string ReadConnectionOptions(const std::optional<std::optional<std::string>>& simulate,
                                  const std::optional<std::string>& port,
                                  const std::optional<std::string>& save, HostOptions& options,
                                  std::optional<std::string>& simulateSave) {
    if (simulate && port) {
        return "--port and --simulate exclude each other";
    }
    if (simulate) {
        options.connection = Connection::Simulate;
        if (*simulate) {
            if ((*simulate)->empty()) {
                return "--simulate= needs a profile name or file";
            }
            options.profile = **simulate;
        }
    } else if (port) {
        const std::optional<std::u16string> name = FromUtf8(*port);
        if (!name) {
            return "the port name is not UTF-8 text";
        }
        if (name->empty()) {
            return "--port needs a port name (rfcomm0, ttyUSB0, /dev/serial/by-id/...)";
        }
        options.connection = Connection::Port;
        options.port = *name;
    }
    if (save) {
        if (!simulate) {
            return "--simulate-save goes with --simulate only";
        }
        if (save->empty()) {
            return "--simulate-save needs a file";
        }
        simulateSave = *save;
    }
    return "";
}

ExchangeMode ChooseExchangeMode(bool fastOption) {
    return fastOption || settings::ReadFastLink() ? ExchangeMode::Fast : ExchangeMode::Timed;
}

ProgramHost::~ProgramHost() = default;

std::unique_ptr<ProgramHost> ProgramHost::Create(const HostOptions& options, const char* program,
                                                 std::ostream& messages, std::string& error,
                                                 int& status) {
    std::unique_ptr<ProgramHost> host(new ProgramHost);
    if (options.connection == Connection::Simulate) {
        try {
            host->phone_ =
                std::make_unique<phonesim::Phone>(phonesim::LoadProfile(options.profile));
        } catch (const std::exception& e) {
            error = std::string("cannot load the profile: ") + e.what();
            status = 2;
            return nullptr;
        }
        auto clock = std::make_unique<VirtualClock>();
        host->opener_ = std::make_unique<phonesim::SimPortOpener>(*host->phone_, clock.get());
        auto ports = std::make_unique<FakeSerialPorts>();
        phonesim::RegisterSimPort(*ports, kSimPort, *host->opener_);
        host->clock_ = std::move(clock);
        host->ports_ = std::move(ports);
        host->registry_ = std::make_unique<Registry>();
        host->registry_->SetString(HKEY_LOCAL_MACHINE, kPortKey, u"Port", kSimPort);
    } else {
        host->clock_ = std::make_unique<RealClock>();
        host->ports_ = std::make_unique<TermiosSerialPorts>();
        host->registry_ = std::make_unique<Registry>(Registry::DefaultPath());
        const LONG loaded = host->registry_->LoadResult();
        if (loaded != ERROR_SUCCESS) {
            messages << program << ": the registry file " << host->registry_->Path()
                     << (loaded == ERROR_BADDB ? " is damaged" : " cannot be read")
                     << "; going on with an empty registry\n";
        }
        if (options.connection == Connection::Port) {
            std::string why;
            if (TermiosSerialPorts::DevicePath(options.port, &why).empty()) {
                error = "\"" + Printable(ToUtf8(options.port)) + "\" is not a port name: " + why;
                status = 2;
                return nullptr;
            }
            // Stored as "Port" once it has opened, as the Bluetooth software stores a port it
            // bound.
            host->pendingPort_ = options.port;
        }
    }
    // The device's system provides HKEY_CURRENT_USER\Comm, which the start-up stores the kind of
    // phone under; a fresh registry here has to be given it.
    if (!host->registry_->KeyExists(HKEY_CURRENT_USER, u"Comm")) {
        host->registry_->CreateKey(HKEY_CURRENT_USER, u"Comm");
    }
    return host;
}

bool ProgramHost::SaveSimulation(const std::string& path, std::string& error) const {
    if (!phone_) {
        error = "no simulated phone to save";
        return false;
    }
    try {
        phonesim::SaveProfileFile(phone_->ToProfile(), path);
    } catch (const std::exception& e) {
        error = "cannot save the simulated phone to " + path + ": " + e.what();
        return false;
    }
    return true;
}

}  // namespace app
