// More connections at once than Winsock's default 64 may be open.
#define FD_SETSIZE 512
#include <winsock2.h>
#include <ws2tcpip.h>

#include "harness/RecordingProxy.h"

#include <algorithm>
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

const char kPage[] = "<html><head><title>OrlimWeb test page</title></head><body>test page</body></html>";
const unsigned long long kSilenceMs = 2000; // a connection opened ahead of time may never send
const long kPollMs = 100;
const size_t kMostConnections = FD_SETSIZE - 1;
const size_t kMostRequest = 65536;

void SetNonBlocking(SOCKET s)
{
    u_long nonBlocking = 1;
    ::ioctlsocket(s, FIONBIO, &nonBlocking);
}

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
    SetNonBlocking(m_listen);
    m_thread = std::thread([this] { Serve(); });
}

RecordingProxy::~RecordingProxy()
{
    m_stopping = true;
    m_thread.join();
    ::closesocket(m_listen);
}

std::vector<std::string> RecordingProxy::RequestLines() const
{
    return RequestLinesFrom(0);
}

std::vector<std::string> RecordingProxy::RequestLinesFrom(size_t first) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::vector<std::string>(m_lines.begin() + static_cast<std::ptrdiff_t>(std::min(first, m_lines.size())),
                                    m_lines.end());
}

std::vector<std::string> RecordingProxy::RequestCookies() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_cookies;
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
    std::vector<Connection> connections;
    while (!m_stopping)
    {
        fd_set readable;
        FD_ZERO(&readable);
        if (connections.size() < kMostConnections)
            FD_SET(static_cast<SOCKET>(m_listen), &readable);
        for (const Connection& connection : connections)
            FD_SET(static_cast<SOCKET>(connection.socket), &readable);
        timeval timeout = {0, kPollMs * 1000};
        if (::select(0, &readable, nullptr, nullptr, &timeout) == SOCKET_ERROR)
            ::Sleep(kPollMs); // nothing to wait on for a moment
        if (FD_ISSET(static_cast<SOCKET>(m_listen), &readable))
            AcceptAll(connections);
        const unsigned long long ullNow = ::GetTickCount64();
        for (auto it = connections.begin(); it != connections.end();)
        {
            const bool bDone =
                (FD_ISSET(static_cast<SOCKET>(it->socket), &readable) && Read(*it)) || ullNow >= it->ullDeadline;
            if (!bDone)
            {
                ++it;
                continue;
            }
            ::closesocket(static_cast<SOCKET>(it->socket));
            it = connections.erase(it);
        }
    }
    for (const Connection& connection : connections)
        ::closesocket(static_cast<SOCKET>(connection.socket));
}

void RecordingProxy::AcceptAll(std::vector<Connection>& connections)
{
    while (connections.size() < kMostConnections)
    {
        const SOCKET client = ::accept(static_cast<SOCKET>(m_listen), nullptr, nullptr);
        if (client == INVALID_SOCKET)
            return;
        SetNonBlocking(client);
        connections.push_back({client, std::string(), ::GetTickCount64() + kSilenceMs});
    }
}

bool RecordingProxy::Read(Connection& connection)
{
    const SOCKET client = static_cast<SOCKET>(connection.socket);
    char buffer[4096];
    const int n = ::recv(client, buffer, sizeof(buffer), 0);
    if (n < 0 && ::WSAGetLastError() == WSAEWOULDBLOCK)
        return false;
    if (n <= 0)
        return true; // closed by the browser
    connection.request.append(buffer, static_cast<size_t>(n));
    if (connection.request.find("\r\n\r\n") == std::string::npos && connection.request.size() < kMostRequest)
        return false;
    const size_t eol = connection.request.find("\r\n");
    if (eol == std::string::npos)
        return true;
    std::string cookie;
    const size_t at = connection.request.find("\r\nCookie: ");
    if (at != std::string::npos)
    {
        const size_t begin = at + 10;
        cookie = connection.request.substr(begin, connection.request.find("\r\n", begin) - begin);
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lines.push_back(connection.request.substr(0, eol));
        m_cookies.push_back(cookie);
    }
    // A few hundred bytes: the socket's buffer takes them at once.
    const std::string response =
        "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(sizeof(kPage) - 1) +
        "\r\nSet-Cookie: orlim-visit=1; path=/\r\nConnection: close\r\n\r\n" + kPage;
    ::send(client, response.data(), static_cast<int>(response.size()), 0);
    return true;
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
