/* A desktop session manager in miniature, for the end-to-end tests: it
 * speaks the X session management protocol (XSMP) through the same libSM a
 * real one uses, so the game's window system library registers with it as
 * it would with a desktop's session.
 *
 * Prints "SESSION_MANAGER=<address>" once it listens, then one line per
 * event: "registered", "save-done", "interact-request", "closed". Takes
 * commands on stdin, one per line, sent to every registered client:
 *   save      the session ends (shutdown save, no interaction allowed)
 *   save-any  the session ends, the client may ask to interact
 *   die       the client must end now
 * Ends when stdin closes. */
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

enum { MaxConnections = 16 };

static IceConn connections[MaxConnections];
static int connectionCount;
static SmsConn clients[MaxConnections];
static int clientCount;

static void Say(const char* what)
{
    printf("%s\n", what);
    fflush(stdout);
}

static Status RegisterClient(SmsConn conn, SmPointer data, char* previousId)
{
    (void)data;
    free(previousId);
    char* id = SmsGenerateClientID(conn);
    if (!id)
        return 0;
    SmsRegisterClientReply(conn, id);
    free(id);
    if (clientCount < MaxConnections)
        clients[clientCount++] = conn;
    Say("registered");
    return 1;
}

static void InteractRequest(SmsConn conn, SmPointer data, int dialogType)
{
    (void)data;
    (void)dialogType;
    Say("interact-request");
    /* A session that lets the client ask: granted at once. */
    SmsInteract(conn);
}

static void InteractDone(SmsConn conn, SmPointer data, Bool cancelShutdown)
{
    (void)conn;
    (void)data;
    Say(cancelShutdown ? "interact-done-cancel" : "interact-done");
}

static void SaveYourselfRequest(SmsConn conn, SmPointer data, int saveType, Bool shutdown, int interactStyle, Bool fast,
                                Bool global)
{
    (void)data;
    (void)global;
    SmsSaveYourself(conn, saveType, shutdown, interactStyle, fast);
}

static void SaveYourselfPhase2Request(SmsConn conn, SmPointer data)
{
    (void)data;
    SmsSaveYourselfPhase2(conn);
}

static void SaveYourselfDone(SmsConn conn, SmPointer data, Bool success)
{
    (void)conn;
    (void)data;
    Say(success ? "save-done" : "save-failed");
}

static void Forget(SmsConn conn)
{
    for (int i = 0; i < clientCount; ++i)
        if (clients[i] == conn) {
            clients[i] = clients[--clientCount];
            break;
        }
}

static void CloseConnection(SmsConn conn, SmPointer data, int count, char** reasons)
{
    (void)data;
    SmFreeReasons(count, reasons);
    IceConn ice = SmsGetIceConnection(conn);
    Forget(conn);
    SmsCleanUp(conn);
    IceSetShutdownNegotiation(ice, False);
    IceCloseConnection(ice);
    for (int i = 0; i < connectionCount; ++i)
        if (connections[i] == ice) {
            connections[i] = connections[--connectionCount];
            break;
        }
    Say("closed");
}

static void SetProperties(SmsConn conn, SmPointer data, int count, SmProp** props)
{
    (void)conn;
    (void)data;
    for (int i = 0; i < count; ++i)
        SmFreeProperty(props[i]);
    free(props);
}

static void DeleteProperties(SmsConn conn, SmPointer data, int count, char** names)
{
    (void)conn;
    (void)data;
    for (int i = 0; i < count; ++i)
        free(names[i]);
    free(names);
}

static void GetProperties(SmsConn conn, SmPointer data)
{
    (void)data;
    SmsReturnProperties(conn, 0, NULL);
}

static Status NewClient(SmsConn conn, SmPointer data, unsigned long* mask, SmsCallbacks* callbacks, char** failure)
{
    (void)conn;
    (void)data;
    (void)failure;
    memset(callbacks, 0, sizeof *callbacks);
    callbacks->register_client.callback = RegisterClient;
    callbacks->interact_request.callback = InteractRequest;
    callbacks->interact_done.callback = InteractDone;
    callbacks->save_yourself_request.callback = SaveYourselfRequest;
    callbacks->save_yourself_phase2_request.callback = SaveYourselfPhase2Request;
    callbacks->save_yourself_done.callback = SaveYourselfDone;
    callbacks->close_connection.callback = CloseConnection;
    callbacks->set_properties.callback = SetProperties;
    callbacks->delete_properties.callback = DeleteProperties;
    callbacks->get_properties.callback = GetProperties;
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
            SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask | SmsSaveYourselfDoneProcMask |
            SmsCloseConnectionProcMask | SmsSetPropertiesProcMask | SmsDeletePropertiesProcMask |
            SmsGetPropertiesProcMask;
    return 1;
}

/* Only the test's own processes reach the socket: every host is let in. */
static Bool AnyHost(char* hostname)
{
    (void)hostname;
    return True;
}

static void Command(const char* line)
{
    for (int i = 0; i < clientCount; ++i) {
        if (strcmp(line, "save") == 0)
            SmsSaveYourself(clients[i], SmSaveBoth, True, SmInteractStyleNone, False);
        else if (strcmp(line, "save-any") == 0)
            SmsSaveYourself(clients[i], SmSaveBoth, True, SmInteractStyleAny, False);
        else if (strcmp(line, "die") == 0)
            SmsDie(clients[i]);
    }
}

/* A client that vanishes is reported as closed, not a reason to end. */
static void IgnoreIoError(IceConn conn)
{
    (void)conn;
}

int main(void)
{
    IceSetIOErrorHandler(IgnoreIoError);
    char error[256];
    if (!SmsInitialize("tangrix-test", "1.0", NewClient, NULL, AnyHost, sizeof error, error)) {
        fprintf(stderr, "SmsInitialize: %s\n", error);
        return 1;
    }
    int listenCount = 0;
    IceListenObj* listeners = NULL;
    if (!IceListenForConnections(&listenCount, &listeners, sizeof error, error) || listenCount == 0) {
        fprintf(stderr, "IceListenForConnections: %s\n", error);
        return 1;
    }
    for (int i = 0; i < listenCount; ++i)
        IceSetHostBasedAuthProc(listeners[i], AnyHost);
    char* address = IceComposeNetworkIdList(listenCount, listeners);
    printf("SESSION_MANAGER=%s\n", address);
    fflush(stdout);
    free(address);

    char line[64];
    size_t used = 0;
    for (;;) {
        struct pollfd fds[1 + 8 + MaxConnections];
        int n = 0;
        fds[n++] = (struct pollfd){.fd = STDIN_FILENO, .events = POLLIN};
        const int listenFirst = n;
        for (int i = 0; i < listenCount && i < 8; ++i)
            fds[n++] = (struct pollfd){.fd = IceGetListenConnectionNumber(listeners[i]), .events = POLLIN};
        const int connectionFirst = n;
        for (int i = 0; i < connectionCount; ++i)
            fds[n++] = (struct pollfd){.fd = IceConnectionNumber(connections[i]), .events = POLLIN};
        if (poll(fds, (nfds_t)n, -1) < 0)
            continue;

        if (fds[0].revents) {
            char c;
            const ssize_t got = read(STDIN_FILENO, &c, 1);
            if (got <= 0)
                break;
            if (c == '\n') {
                line[used] = '\0';
                Command(line);
                used = 0;
            } else if (used + 1 < sizeof line) {
                line[used++] = c;
            }
        }
        for (int i = listenFirst; i < connectionFirst; ++i) {
            if (!fds[i].revents)
                continue;
            IceAcceptStatus status;
            IceConn conn = IceAcceptConnection(listeners[i - listenFirst], &status);
            if (!conn || status != IceAcceptSuccess)
                continue;
            IceConnectStatus state;
            while ((state = IceConnectionStatus(conn)) == IceConnectPending)
                if (IceProcessMessages(conn, NULL, NULL) == IceProcessMessagesIOError)
                    break;
            if (state == IceConnectAccepted && connectionCount < MaxConnections)
                connections[connectionCount++] = conn;
            else
                IceCloseConnection(conn);
        }
        /* From the last: a closed connection leaves the list. */
        for (int i = n - 1; i >= connectionFirst; --i) {
            if (!fds[i].revents || i - connectionFirst >= connectionCount)
                continue;
            IceConn conn = connections[i - connectionFirst];
            if (IceProcessMessages(conn, NULL, NULL) == IceProcessMessagesIOError) {
                for (int c = clientCount - 1; c >= 0; --c)
                    if (SmsGetIceConnection(clients[c]) == conn) {
                        SmsConn gone = clients[c];
                        Forget(gone);
                        SmsCleanUp(gone);
                    }
                IceSetShutdownNegotiation(conn, False);
                IceCloseConnection(conn);
                connections[i - connectionFirst] = connections[--connectionCount];
                Say("closed");
            }
        }
    }
    return 0;
}
