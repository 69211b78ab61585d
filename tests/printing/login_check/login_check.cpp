// The private print server's login check (scripts/print_server preloads it
// into its cupsd only). The system's login check cannot judge a password for
// a server that runs as an ordinary user, and no test can know a real one; so
// this stands in for the PAM functions cupsd calls. It accepts exactly one
// login, the name VT_CUPS_LOGIN_USER with the password VT_CUPS_LOGIN_PASSWORD,
// asked through the conversation cupsd gives; any other is refused after
// VT_CUPS_LOGIN_DELAY_MS milliseconds, as the system's fail delay makes a
// refusal wait. It declares the few types it shares with cupsd itself, so
// that the build needs no PAM headers.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

// The values of the interface cupsd was built against.
constexpr int kSuccess = 0;
constexpr int kBufferError = 5;
constexpr int kPermissionDenied = 6;
constexpr int kAuthError = 7;
constexpr int kConversationError = 19;
constexpr int kUserItem = 2;
constexpr int kConversationItem = 5;
constexpr int kPromptEchoOff = 1;

}  // namespace

extern "C" {

struct pam_message {
    int msg_style;
    const char* msg;
};
struct pam_response {
    char* resp;
    int resp_retcode;
};
struct pam_conv {
    int (*conv)(int, const pam_message**, pam_response**, void*);
    void* appdata_ptr;
};
struct pam_handle {
    char* user;
    pam_conv conversation;
    bool accepted;
};

}  // extern "C"

namespace {

const char* Setting(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

void ReplaceUser(pam_handle* handle, const char* user) {
    char* copy = user ? strdup(user) : nullptr;
    std::free(handle->user);
    handle->user = copy;
}

// The password the conversation gives, or null when it gives none.
char* AskPassword(const pam_conv& conversation) {
    if (!conversation.conv) return nullptr;
    const pam_message question{kPromptEchoOff, "Password: "};
    const pam_message* questions[] = {&question};
    pam_response* answers = nullptr;
    if (conversation.conv(1, questions, &answers, conversation.appdata_ptr) != kSuccess || !answers) return nullptr;
    char* password = answers[0].resp;
    std::free(answers);
    return password;
}

void Refuse() {
    const long ms = std::strtol(Setting("VT_CUPS_LOGIN_DELAY_MS"), nullptr, 10);
    timespec left{ms / 1000, (ms % 1000) * 1000000};
    while (ms > 0 && nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

}  // namespace

extern "C" {

int pam_start(const char*, const char* user, const pam_conv* conversation, pam_handle** handle) {
    auto* made = static_cast<pam_handle*>(std::calloc(1, sizeof(pam_handle)));
    if (!made) return kBufferError;
    ReplaceUser(made, user);
    if (conversation) made->conversation = *conversation;
    *handle = made;
    return kSuccess;
}

int pam_set_item(pam_handle* handle, int item, const void* value) {
    if (item == kUserItem) ReplaceUser(handle, static_cast<const char*>(value));
    if (item == kConversationItem && value) handle->conversation = *static_cast<const pam_conv*>(value);
    return kSuccess;
}

int pam_authenticate(pam_handle* handle, int) {
    char* password = AskPassword(handle->conversation);
    if (!password) return kConversationError;
    const char* user = Setting("VT_CUPS_LOGIN_USER");
    const char* expected = Setting("VT_CUPS_LOGIN_PASSWORD");
    handle->accepted = *user && *expected && handle->user && std::strcmp(handle->user, user) == 0 &&
                       std::strcmp(password, expected) == 0;
    explicit_bzero(password, std::strlen(password));
    std::free(password);
    if (handle->accepted) return kSuccess;
    Refuse();
    return kAuthError;
}

int pam_acct_mgmt(pam_handle* handle, int) { return handle->accepted ? kSuccess : kPermissionDenied; }

int pam_setcred(pam_handle*, int) { return kSuccess; }

int pam_end(pam_handle* handle, int) {
    if (handle) ReplaceUser(handle, nullptr);
    std::free(handle);
    return kSuccess;
}

const char* pam_strerror(pam_handle*, int error) {
    switch (error) {
    case kSuccess: return "Success";
    case kAuthError: return "Authentication failure";
    case kPermissionDenied: return "Permission denied";
    case kConversationError: return "Conversation error";
    default: return "Login check error";
    }
}

}  // extern "C"
