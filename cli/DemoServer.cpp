#include "DemoServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string_view>

namespace kovra::cli {
namespace {

constexpr size_t kMaxRequest = 1 << 20;

std::string Status(int code) {
  switch (code) {
    case 200: return "200 OK";
    case 400: return "400 Bad Request";
    case 404: return "404 Not Found";
    default: return "405 Method Not Allowed";
  }
}

void SendAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = send(fd, data.data(), data.size(), MSG_NOSIGNAL);
    if (n <= 0) return;
    data.remove_prefix(static_cast<size_t>(n));
  }
}

void Respond(int fd, int code, std::string_view type, std::string_view body) {
  std::string head = "HTTP/1.1 " + Status(code) + "\r\nContent-Type: " + std::string(type) +
                     "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
  SendAll(fd, head);
  SendAll(fd, body);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string UrlDecode(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '+') {
      out += ' ';
    } else if (s[i] == '%' && i + 2 < s.size() && HexDigit(s[i + 1]) >= 0 && HexDigit(s[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(s[i + 1]) * 16 + HexDigit(s[i + 2]));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

std::map<std::string, std::string> ParseForm(std::string_view body) {
  std::map<std::string, std::string> form;
  while (!body.empty()) {
    const size_t amp = body.find('&');
    const std::string_view pair = body.substr(0, amp);
    const size_t eq = pair.find('=');
    form[UrlDecode(pair.substr(0, eq))] = eq == std::string_view::npos ? "" : UrlDecode(pair.substr(eq + 1));
    if (amp == std::string_view::npos) break;
    body.remove_prefix(amp + 1);
  }
  return form;
}

std::string Escape(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '&') out += "&amp;";
    else out += c;
  }
  return out;
}

// The answer to the demo shop's search form: matching items as a table.
std::string SearchPage(const std::map<std::string, std::string>& form) {
  static const struct {
    const char* name;
    const char* price;
  } kItems[] = {{"Mechanical keyboard", "399.00"}, {"Wireless mouse", "129.00"},
                {"USB-C hub", "189.00"},          {"Keyboard wrist rest", "59.00"},
                {"Monitor stand", "249.00"}};
  const auto q = form.find("q");
  const std::string query = q == form.end() ? "" : q->second;
  std::string lower_query;
  for (char c : query) lower_query += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string html = "<html><head><meta charset=\"utf-8\"><title>Search: " + Escape(query) +
                     "</title></head><body><h1>Results for " + Escape(query) +
                     "</h1>\n<table class=\"results\">\n";
  for (const auto& item : kItems) {
    std::string lower_name;
    for (const char* p = item.name; *p; ++p) lower_name += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    if (!lower_query.empty() && lower_name.find(lower_query) == std::string::npos) continue;
    html += "<tr><td class=\"name\">" + std::string(item.name) + "</td><td class=\"price\">" + item.price + "</td></tr>\n";
  }
  html += "</table></body></html>\n";
  return html;
}

std::string ContentType(const std::filesystem::path& path) {
  const std::string ext = path.extension().string();
  if (ext == ".html" || ext == ".htm") return "text/html; charset=utf-8";
  if (ext == ".txt") return "text/plain; charset=utf-8";
  return "application/octet-stream";
}

}  // namespace

TDemoServer::TDemoServer(std::filesystem::path folder) : folder_(std::move(folder)) {
  listener_ = socket(AF_INET, SOCK_STREAM, 0);
  if (listener_ < 0) throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  socklen_t len = sizeof addr;
  if (bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(listener_, 16) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    const std::string reason = std::strerror(errno);
    close(listener_);
    throw std::runtime_error("cannot listen on 127.0.0.1: " + reason);
  }
  port_ = ntohs(addr.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

TDemoServer::~TDemoServer() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  close(listener_);
}

std::string TDemoServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/" + path;
}

void TDemoServer::Serve() {
  while (!stop_) {
    pollfd pfd{listener_, POLLIN, 0};
    if (poll(&pfd, 1, 100) <= 0) continue;
    const int client = accept(listener_, nullptr, nullptr);
    if (client < 0) continue;
    timeval timeout{5, 0};
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    Handle(client);
    close(client);
  }
}

void TDemoServer::Handle(int client) {
  std::string request;
  char buffer[8192];
  size_t header_end = std::string::npos;
  size_t content_length = 0;
  while (request.size() < kMaxRequest) {
    const ssize_t n = recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    request.append(buffer, static_cast<size_t>(n));
    if (header_end == std::string::npos) {
      header_end = request.find("\r\n\r\n");
      if (header_end == std::string::npos) continue;
      std::string head = request.substr(0, header_end);
      for (char& c : head) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      const size_t at = head.find("content-length:");
      if (at != std::string::npos) content_length = std::strtoul(head.c_str() + at + 15, nullptr, 10);
    }
    if (request.size() >= header_end + 4 + std::min(content_length, kMaxRequest)) break;
  }
  if (header_end == std::string::npos) return Respond(client, 400, "text/plain", "bad request\n");
  const size_t sp1 = request.find(' ');
  const size_t sp2 = request.find(' ', sp1 + 1);
  if (sp1 == std::string::npos || sp2 == std::string::npos) return Respond(client, 400, "text/plain", "bad request\n");
  const std::string method = request.substr(0, sp1);
  std::string path = request.substr(sp1 + 1, sp2 - sp1 - 1);
  path = path.substr(0, path.find('?'));
  if (method == "POST" && path == "/search") {
    return Respond(client, 200, "text/html; charset=utf-8", SearchPage(ParseForm(std::string_view(request).substr(header_end + 4))));
  }
  if (method != "GET") return Respond(client, 405, "text/plain", "method not allowed\n");
  // Only plain file names of the folder are served.
  const std::string name = path.substr(path.find_first_not_of('/') == std::string::npos ? path.size() : path.find_first_not_of('/'));
  if (name.empty() || name.find('/') != std::string::npos || name.find("..") != std::string::npos) {
    return Respond(client, 404, "text/plain", "not found\n");
  }
  std::ifstream in(folder_ / name, std::ios::binary);
  if (!in) return Respond(client, 404, "text/plain", "not found\n");
  const std::string body((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Respond(client, 200, ContentType(folder_ / name), body);
}

}  // namespace kovra::cli
