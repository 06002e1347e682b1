#pragma once

#include <string>

// Points this Wine prefix's browser at a loopback proxy port while the
// object lives (the setting is read when a process first loads pages), then
// puts the previous setting back.
class ProxySetting
{
public:
    explicit ProxySetting(unsigned short port);
    ~ProxySetting();
    ProxySetting(const ProxySetting&) = delete;
    ProxySetting& operator=(const ProxySetting&) = delete;

private:
    std::wstring m_previousServer;
};
