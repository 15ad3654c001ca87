// halvex-phonesim-pdus FILE...: fills in the "pdu" of every message of the profiles that
// carries a "deliver" or "submit" description, rewriting the files. With --check it changes
// nothing and exits 1 when a file is not up to date.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "phonesim/Profile.h"
#include "phonesim/ProfilePdus.h"

int main(int argc, char** argv) {
    bool check = false;
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string path = argv[i];
        if (path == "--check") {
            check = true;
            continue;
        }
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::cerr << path << ": cannot read\n";
            return 2;
        }
        std::ostringstream text;
        text << in.rdbuf();
        try {
            const std::string updated = phonesim::RegenerateProfilePdus(text.str());
            phonesim::ProfileFromJson(updated);  // the result must load
            if (updated == text.str())
                continue;
            if (check) {
                std::cerr << path << ": not up to date\n";
                status = 1;
                continue;
            }
            std::ofstream out(path + ".tmp", std::ios::binary | std::ios::trunc);
            out << updated;
            out.close();
            if (!out || std::rename((path + ".tmp").c_str(), path.c_str()) != 0) {
                std::cerr << path << ": cannot write\n";
                return 2;
            }
            std::cout << path << ": updated\n";
        } catch (const phonesim::ProfileError& e) {
            std::cerr << path << ": " << e.what() << "\n";
            return 2;
        }
    }
    return status;
}
