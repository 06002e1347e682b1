#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A web proxy on 127.0.0.1 that records the request line of every request
// the browser sends it, with the cookies it sends, and answers each with a
// small page that sets a session cookie ("orlim-visit=1"). The browser
// control asks a proxy for absolute addresses, with the port made explicit:
// "GET http://www.example.test:80/page.html HTTP/1.1".
//
// It serves every open connection at once: a connection the browser opens
// ahead of time and never uses, or one a killed launcher left, holds up no
// other, and is closed after two seconds of silence.
class RecordingProxy
{
public:
    // Listens on the given port, or on a free one for 0.
    explicit RecordingProxy(unsigned short port = 0);
    ~RecordingProxy();
    RecordingProxy(const RecordingProxy&) = delete;
    RecordingProxy& operator=(const RecordingProxy&) = delete;

    unsigned short Port() const { return m_port; }
    std::vector<std::string> RequestLines() const;
    // The request lines from the first-th on (a long run's log takes only
    // what is new).
    std::vector<std::string> RequestLinesFrom(size_t first) const;
    // The addresses asked for, in order, as the browser wrote them.
    std::vector<std::string> RequestedUrls() const;
    // The Cookie header of each request, in the same order ("" for none).
    std::vector<std::string> RequestCookies() const;

private:
    struct Connection
    {
        std::uintptr_t socket; // a SOCKET
        std::string request;
        unsigned long long ullDeadline;
    };

    void Serve();
    void AcceptAll(std::vector<Connection>& connections);
    // Reads what has come; true once the connection is done with.
    bool Read(Connection& connection);

    std::uintptr_t m_listen; // a SOCKET
    unsigned short m_port = 0;
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
    std::vector<std::string> m_cookies;
    std::thread m_thread;
};

// The form in which the browser asks the proxy for an address: the default
// port made explicit, and "/" for an address that ends with its host.
std::string ProxiedForm(const std::wstring& url);
