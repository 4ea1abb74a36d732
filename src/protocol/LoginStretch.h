#pragma once

struct TConnectValues;
class ClientSession;

// How the Connect window was closed.
enum class ConnectChoice {
    Cancel,
    Connect,       // "Connect"
    CreateAccount, // "Create account"
};

// The Connect command after its window closed: unless cancelled, connects with the window's
// values; "Create account" makes the new connection register an account.
void ConnectWindowClosed(ClientSession& session, ConnectChoice choice,
                         const TConnectValues& values);

// The login-prompt rows: the guest registration dialogue answered on the user's behalf.
void InstallLoginStretch(ClientSession& session);
