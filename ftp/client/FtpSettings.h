#pragma once
// What one FTP operation needs to reach the server: the values of the FTP
// settings, read afresh for every operation. Plain data, no Qt.

#include <cstdint>
#include <string>

struct FtpSettings {
    std::string host;
    int32_t port = 21; // 0 leaves the port to the connection layer (the protocol's own)
    bool passive = true;
    std::string login;
    std::string password;
    bool anonymous = false; // log in as "anonymous"/"anonymous", never with login/password
    std::string directory;  // server folder without trailing separator, may be empty
    bool useTls = false;    // explicit TLS on control and data connections
    std::string caFile;     // extra certificate authority file; empty: the system's store
};
