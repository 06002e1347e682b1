#pragma once

#include <string>

// Registers a Flash Player file in this Wine prefix while it lives, as its
// installer would (the launcher reads only the registry and the file's
// version), optionally with Internet Explorer's kill bit set.
class FlashRegistration
{
public:
    FlashRegistration(const std::wstring& path, bool bKillBit);
    ~FlashRegistration();
    FlashRegistration(const FlashRegistration&) = delete;
    FlashRegistration& operator=(const FlashRegistration&) = delete;

    // A stand-in file of the build, by its version ("34.0.0.384"), found
    // beside the running executable or in the build's tests folder.
    static std::wstring StandIn(const std::wstring& version);
};
