// SOCKS5 negotiation through a proxy (RFC 1928, user name and password after RFC 1929).
#pragma once

#include <cstdint>
#include <vector>

namespace tallow {

class Client;

// Connects the socket to the proxy; the greeting follows once the connection stands.
void StartProxy(Client& c);
// Stops waiting for the proxy's connection.
void StopProxy(Client& c);
// Builds and sends the request of the current step (1 greeting, 3 authentication, 5 connect)
// and advances the step; other steps send nothing.
void ProxySend(Client& c);
// Examines the proxy's reply in the proxy ring for the current step (2, 4 or 6).
void ProxyReply(Client& c);
// The request bytes of a step, as ProxySend sends them (empty for other steps).
std::vector<std::uint8_t> ProxyRequest(const Client& c, int step);

inline constexpr const char* kProxyMethodRefused = "请求代理失败！";
inline constexpr const char* kProxyAuthRefused = "代理服务器用户验证失败！";
inline constexpr const char* kProxyConnectRefused = "通过代理连接主站失败！";
inline constexpr const char* kProxyConnectedLine = "连接代理服务器成功！";
inline constexpr const char* kProxyTimedOutLine = "连接代理服务器超时，请返回大厅重新入座！";

}  // namespace tallow
