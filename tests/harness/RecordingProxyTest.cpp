// The recording proxy serves long runs: connections opened ahead of time and
// never used hold up no request.

#include <winsock2.h>

#include "harness/RecordingProxy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

SOCKET Connect(unsigned short port)
{
    const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(port);
    EXPECT_EQ(::connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
    return s;
}

TEST(RecordingProxyTest, ConnectionsThatNeverSendHoldUpNoRequest)
{
    RecordingProxy proxy;
    std::vector<SOCKET> idle;
    idle.reserve(8);
    for (int i = 0; i < 8; ++i)
        idle.push_back(Connect(proxy.Port()));

    const SOCKET s = Connect(proxy.Port());
    const std::string request = "GET http://page.test:80/ HTTP/1.1\r\nHost: page.test\r\n\r\n";
    ::send(s, request.data(), static_cast<int>(request.size()), 0);
    std::string answer;
    char buffer[1024];
    for (int n; (n = ::recv(s, buffer, sizeof(buffer), 0)) > 0;)
        answer.append(buffer, static_cast<size_t>(n));
    ::closesocket(s);
    EXPECT_EQ(answer.compare(0, 15, "HTTP/1.1 200 OK"), 0);
    EXPECT_EQ(proxy.RequestedUrls(), std::vector<std::string>{"http://page.test:80/"});

    // Answered while the idle ones were still open: they held up nothing.
    for (SOCKET idleSocket : idle)
    {
        u_long nonBlocking = 1;
        ::ioctlsocket(idleSocket, FIONBIO, &nonBlocking);
        EXPECT_EQ(::recv(idleSocket, buffer, sizeof(buffer), MSG_PEEK), SOCKET_ERROR);
        EXPECT_EQ(::WSAGetLastError(), WSAEWOULDBLOCK);
        ::closesocket(idleSocket);
    }
}

} // namespace
