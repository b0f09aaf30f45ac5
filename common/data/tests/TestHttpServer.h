#pragma once
// A small HTTP server on 127.0.0.1 inside the test process, answering canned
// routes and recording every request it receives.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace servicetest {

struct HttpRoute {
    HttpRoute() = default;
    HttpRoute(int status, std::vector<std::string> headers, std::string body, bool sendLength = true,
              DWORD delayMs = 0)
        : status(status), headers(std::move(headers)), body(std::move(body)), sendLength(sendLength),
          delayMs(delayMs)
    {
    }

    int status = 200;
    std::vector<std::string> headers;  // extra header lines without CR LF
    std::string body;
    bool sendLength = true;
    DWORD delayMs = 0;
    // Answer 401 to a request without this Authorization header line.
    std::string requiredAuthorization;
    // Announced instead of the body's size when not 0: a longer length makes
    // the answer end early, as a dropped connection does.
    size_t announcedLength = 0;
};

class TestHttpServer {
public:
    TestHttpServer()
    {
        WSADATA data{};
        ::WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        ::listen(listener_, 16);
        int length = sizeof(address);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~TestHttpServer()
    {
        stopping_ = true;
        ::closesocket(listener_);
        thread_.join();
        for (std::thread& connection : connections_)
            connection.join();
        ::WSACleanup();
    }

    void Route(const std::string& path, HttpRoute route)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        routes_[path] = std::move(route);
    }
    std::wstring Url(const std::string& path) const
    {
        return L"http://127.0.0.1:" + std::to_wstring(port_) + std::wstring(path.begin(), path.end());
    }
    std::string NarrowUrl(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    std::vector<std::string> Requests()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }
    size_t CountRequests(const std::string& path)
    {
        size_t count = 0;
        for (const std::string& request : Requests())
            if (request.find(" " + path + " ") != std::string::npos)
                ++count;
        return count;
    }

private:
    void Serve()
    {
        while (!stopping_) {
            SOCKET client = ::accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET)
                return;
            // One thread per connection: a slow answer must not hold others.
            std::lock_guard<std::mutex> lock(mutex_);
            connections_.emplace_back([this, client] { Answer(client); });
        }
    }

    void Answer(SOCKET client)
    {
        std::string request;
        char buffer[8192];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const int got = ::recv(client, buffer, sizeof(buffer), 0);
            if (got <= 0)
                break;
            request.append(buffer, got);
        }
        const size_t headerEnd = request.find("\r\n\r\n");
        const size_t lengthAt = request.find("Content-Length: ");
        if (headerEnd != std::string::npos && lengthAt != std::string::npos && lengthAt < headerEnd) {
            const size_t wanted = std::stoul(request.substr(lengthAt + 16)) + headerEnd + 4;
            while (request.size() < wanted) {
                const int got = ::recv(client, buffer, sizeof(buffer), 0);
                if (got <= 0)
                    break;
                request.append(buffer, got);
            }
        }
        const size_t pathStart = request.find(' ') + 1;
        const std::string path = request.substr(pathStart, request.find(' ', pathStart) - pathStart);
        HttpRoute route;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            requests_.push_back(request);
            auto found = routes_.find(path);
            if (found != routes_.end())
                route = found->second;
            else
                route.status = 404, route.body = "not found";
        }
        if (!route.requiredAuthorization.empty() && request.find(route.requiredAuthorization) == std::string::npos) {
            route.status = 401;
            route.headers = {"WWW-Authenticate: Basic realm=\"kids\""};
            route.body.clear();
        }
        if (route.delayMs)
            ::Sleep(route.delayMs);
        std::string answer = "HTTP/1.1 " + std::to_string(route.status) + " Canned\r\n";
        for (const std::string& header : route.headers)
            answer += header + "\r\n";
        if (route.sendLength)
            answer += "Content-Length: " +
                      std::to_string(route.announcedLength ? route.announcedLength : route.body.size()) + "\r\n";
        answer += "Connection: close\r\n\r\n" + route.body;
        for (size_t sent = 0; sent < answer.size();) {
            const int wrote = ::send(client, answer.data() + sent, static_cast<int>(answer.size() - sent), 0);
            if (wrote <= 0)
                break;
            sent += static_cast<size_t>(wrote);
        }
        ::shutdown(client, SD_SEND);
        ::closesocket(client);
    }

    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
    std::mutex mutex_;
    std::map<std::string, HttpRoute> routes_;
    std::vector<std::string> requests_;
    std::vector<std::thread> connections_;
};

}  // namespace servicetest
