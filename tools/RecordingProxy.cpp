#include <winsock2.h>
#include <ws2tcpip.h>

#include "tools/RecordingProxy.h"

#include <stdexcept>

namespace
{

class WinsockInit
{
public:
    WinsockInit()
    {
        WSADATA data;
        if (::WSAStartup(MAKEWORD(2, 2), &data) != 0)
            throw std::runtime_error("WSAStartup failed");
    }
    ~WinsockInit() { ::WSACleanup(); }
};

class SocketCloser
{
public:
    explicit SocketCloser(SOCKET s) : m_s(s) {}
    ~SocketCloser() { ::closesocket(m_s); }
    SocketCloser(const SocketCloser&) = delete;
    SocketCloser& operator=(const SocketCloser&) = delete;

private:
    SOCKET m_s;
};

const char kPage[] = "<html><head><title>OrlimWeb test page</title></head><body>test page</body></html>";

} // namespace

RecordingProxy::RecordingProxy(unsigned short port)
{
    static WinsockInit winsock;
    m_listen = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (m_listen == INVALID_SOCKET)
        throw std::runtime_error("socket failed");
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(port);
    int len = sizeof(addr);
    if (::bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 || ::listen(m_listen, 64) != 0 ||
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
    {
        ::closesocket(m_listen);
        throw std::runtime_error("the recording proxy cannot listen on its port");
    }
    m_port = ntohs(addr.sin_port);
    m_thread = std::thread([this] { Serve(); });
}

RecordingProxy::~RecordingProxy()
{
    m_stopping = true;
    ::closesocket(m_listen); // ends the accept
    m_thread.join();
}

std::vector<std::string> RecordingProxy::RequestLines() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lines;
}

std::vector<std::string> RecordingProxy::RequestedUrls() const
{
    std::vector<std::string> urls;
    for (const std::string& line : RequestLines())
    {
        const size_t begin = line.find(' ');
        const size_t end = line.rfind(' ');
        if (begin != std::string::npos && end > begin)
            urls.push_back(line.substr(begin + 1, end - begin - 1));
    }
    return urls;
}

void RecordingProxy::Serve()
{
    while (!m_stopping)
    {
        const SOCKET client = ::accept(m_listen, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            continue;
        SocketCloser closer(client);
        Answer(client);
    }
}

void RecordingProxy::Answer(std::uintptr_t client)
{
    DWORD timeout = 2000; // a connection opened ahead of time may never send
    ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536)
    {
        const int n = ::recv(client, buffer, sizeof(buffer), 0);
        if (n <= 0)
            break;
        request.append(buffer, static_cast<size_t>(n));
    }
    const size_t eol = request.find("\r\n");
    if (eol == std::string::npos)
        return;
    const std::string line = request.substr(0, eol);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lines.push_back(line);
    }
    const std::string response =
        "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(sizeof(kPage) - 1) +
        "\r\nConnection: close\r\n\r\n" + kPage;
    ::send(client, response.data(), static_cast<int>(response.size()), 0);
}

std::string ProxiedForm(const std::wstring& url)
{
    std::string narrow(url.begin(), url.end());
    const std::string scheme = "http://";
    const size_t hostEnd = narrow.find('/', scheme.size());
    if (hostEnd == std::string::npos)
        return narrow + ":80/";
    return narrow.substr(0, hostEnd) + ":80" + narrow.substr(hostEnd);
}
