#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/x11/PamVerifier.h"

namespace nimbrel::test {

// A folder of PAM services for PAM's test wrapper (libpam_wrapper, preloaded), which reads
// services from the folder PAM_WRAPPER_SERVICE_DIR names instead of /etc/pam.d. The passwords
// live in a file of the test module pam_matrix: the running account's password is kPamPassword.
// The wrapper reads the folder at the process's first PAM call, so one folder serves a process.
class PamServices {
  public:
    static constexpr const char* kPamPassword = "correct horse";

    explicit PamServices(std::filesystem::path folder) : folder_(std::move(folder)) {
        std::filesystem::create_directories(folder_);
        const std::string matrix = std::string(NIMBREL_PAM_MODULES) +
                                   "/pam_matrix.so passdb=" + (folder_ / "passdb").string();
        std::string user = x11::PamVerifier::currentUser().value_or("nobody");
        std::ofstream passdb(folder_ / "passdb");
        // pam_matrix lets an account use only the services its lines name.
        for (const char* service : {"nimbrel", "nimbrel-account-refused", "nimbrel-asks-more"}) {
            passdb << user << ':' << kPamPassword << ':' << service << '\n';
        }
        write("nimbrel", "auth required " + matrix + "\naccount required " + matrix + "\n");
        write("nimbrel-refuses", "auth required pam_deny.so\naccount required pam_deny.so\n");
        write("nimbrel-account-refused",
              "auth required " + matrix + "\naccount required pam_deny.so\n");
        // pam_matrix's "echo" asks with a visible prompt, which only a dialog could answer.
        write("nimbrel-asks-more",
              "auth required " + matrix + " echo\naccount required " + matrix + "\n");
        write("nimbrel-broken",
              "auth required pam_no_such_module.so\naccount required " + matrix + "\n");
        write("nimbrel-unix", "auth required pam_unix.so\naccount required pam_unix.so\n");
    }

    // Points PAM at the folder through the wrapper's own variables; the process must have been
    // started with the wrapper preloaded.
    void use() const {
        ::setenv("PAM_WRAPPER", "1", 1);
        ::setenv("PAM_WRAPPER_SERVICE_DIR", folder_.c_str(), 1);
    }

    static bool wrapperPreloaded() {
        const char* preload = std::getenv("LD_PRELOAD");
        return preload != nullptr && std::string(preload).find("pam_wrapper") != std::string::npos;
    }

    const std::filesystem::path& folder() const { return folder_; }

  private:
    void write(const char* service, const std::string& text) const {
        std::ofstream(folder_ / service) << text;
    }

    std::filesystem::path folder_;
};

}  // namespace nimbrel::test
