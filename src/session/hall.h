// The link with the game hall, and ending or suspending the session.
#pragma once

#include <cstdint>
#include <string>

namespace tallow {

class Client;

// Restores the hall window; ends the process when it cannot be found.
void ShowHall(Client& c);
// Minimises the hall window; ends the process when it cannot be found.
void HideHall(Client& c);
// Restores the hall window and ends the process (a failure, a refusal, a table given up).
[[noreturn]] void ShowHallAndEnd(Client& c, const std::string& reason, int code = 0);
// Ends the process when the hall window is gone: nobody is left to take the table back.
void EndIfHallGone(Client& c);
// Posts a notification to the hall window, if there is one.
void PostToHall(Client& c, std::uint32_t msg);

// The table window's procedure for the hall's messages; returns the message's result.
std::int32_t HallWindowProc(Client& c, std::uint32_t msg, std::uint32_t wParam,
                            std::uint32_t lParam);
// Starts and stops receiving the hall's messages under the table window's caption.
void HookWindowProc(Client& c);
void UnhookWindowProc(Client& c);

// Returns the client to its idle state: connection closed, seats cleared, window minimised.
void ResetSession(Client& c);
// Tells the server that the local player leaves and stops all session activity.
void LeaveTable(Client& c);

}  // namespace tallow
