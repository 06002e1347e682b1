// A recording proxy to run beside the launcher: every request line it
// receives is appended to a log file.
//   recording_proxy.exe PORT LOGFILE

#include "harness/RecordingProxy.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: recording_proxy PORT LOGFILE\n");
        return 2;
    }
    const unsigned short port = static_cast<unsigned short>(std::atoi(argv[1]));
    std::unique_ptr<RecordingProxy> listening;
    try
    {
        listening = std::make_unique<RecordingProxy>(port);
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "recording_proxy: cannot listen on 127.0.0.1:%u (%s)\n", port, e.what());
        return 1;
    }
    const RecordingProxy& proxy = *listening;
    size_t logged = 0;
    for (;;)
    {
        const auto lines = proxy.RequestLinesFrom(logged);
        if (!lines.empty())
        {
            if (FILE* log = std::fopen(argv[2], "a"))
            {
                for (const std::string& line : lines)
                    std::fprintf(log, "%s\n", line.c_str());
                std::fclose(log);
                logged += lines.size();
            }
        }
        ::Sleep(200);
    }
}
