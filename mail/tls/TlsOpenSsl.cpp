// TLS through OpenSSL 3 over the non-blocking TCP connection: at least TLS 1.2, the server's
// certificate verified against the system's trust store (and a CA file of the user's) and
// against the server's name, which also goes out as SNI. Nothing is ever sent in plain text
// once TLS has begun: a failed handshake or verification fails every Send and Receive after it.
//
// libssl is loaded at the first TLS connection, not at start: most starts never send over TLS.
// The headers give the types and the calls' shapes; every call below goes through the table
// filled from the library, by the names the headers' own macros expand to.
#include <dlfcn.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>

#include <climits>
#include <string>

#include "mail/tls/TlsTransport.h"

namespace tarvelo {

namespace {

// clang-format off
#define TARVELO_OPENSSL_CALLS(X)                                                             \
    X(BIO_free) X(BIO_new_mem_buf) X(ERR_clear_error) X(ERR_error_string_n) X(ERR_get_error) \
    X(OPENSSL_sk_num) X(OPENSSL_sk_pop_free) X(OPENSSL_sk_value) X(PEM_X509_INFO_read_bio)   \
    X(SSL_CTX_ctrl) X(SSL_CTX_free) X(SSL_CTX_get_cert_store) X(SSL_CTX_new)                 \
    X(SSL_CTX_set_default_verify_paths) X(SSL_CTX_set_options) X(SSL_CTX_set_verify)         \
    X(SSL_ctrl) X(SSL_do_handshake) X(SSL_free) X(SSL_get0_param) X(SSL_get_error)           \
    X(SSL_get_verify_result) X(SSL_is_init_finished) X(SSL_new) X(SSL_pending)               \
    X(SSL_read_ex) X(SSL_set1_host) X(SSL_set_connect_state) X(SSL_set_fd) X(SSL_write_ex)   \
    X(TLS_client_method) X(X509_INFO_free) X(X509_STORE_add_cert)                            \
    X(X509_VERIFY_PARAM_set1_ip_asc) X(X509_verify_cert_error_string)
// clang-format on

struct OpenSslCalls {
#define TARVELO_OPENSSL_FIELD(name) decltype(&::name) name = nullptr;
    TARVELO_OPENSSL_CALLS(TARVELO_OPENSSL_FIELD)
#undef TARVELO_OPENSSL_FIELD
};

OpenSslCalls& Calls() {
    static OpenSslCalls calls;
    return calls;
}

// False when libssl 3 is not installed or lacks a call: TLS then cannot begin.
bool OpenSslLoaded() {
    static const bool loaded = [] {
        void* library = ::dlopen("libssl.so.3", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            return false;
        }
        bool found = true;
#define TARVELO_OPENSSL_FIND(name)                                               \
    Calls().name = reinterpret_cast<decltype(&::name)>(::dlsym(library, #name)); \
    found = found && Calls().name != nullptr;
        TARVELO_OPENSSL_CALLS(TARVELO_OPENSSL_FIND)
#undef TARVELO_OPENSSL_FIND
        return found;
    }();
    return loaded;
}

// From here on every OpenSSL name is the table's.
#define BIO_free (Calls().BIO_free)
#define BIO_new_mem_buf (Calls().BIO_new_mem_buf)
#define ERR_clear_error (Calls().ERR_clear_error)
#define ERR_error_string_n (Calls().ERR_error_string_n)
#define ERR_get_error (Calls().ERR_get_error)
#define OPENSSL_sk_num (Calls().OPENSSL_sk_num)
#define OPENSSL_sk_pop_free (Calls().OPENSSL_sk_pop_free)
#define OPENSSL_sk_value (Calls().OPENSSL_sk_value)
#define PEM_X509_INFO_read_bio (Calls().PEM_X509_INFO_read_bio)
#define SSL_CTX_ctrl (Calls().SSL_CTX_ctrl)
#define SSL_CTX_free (Calls().SSL_CTX_free)
#define SSL_CTX_get_cert_store (Calls().SSL_CTX_get_cert_store)
#define SSL_CTX_new (Calls().SSL_CTX_new)
#define SSL_CTX_set_default_verify_paths (Calls().SSL_CTX_set_default_verify_paths)
#define SSL_CTX_set_options (Calls().SSL_CTX_set_options)
#define SSL_CTX_set_verify (Calls().SSL_CTX_set_verify)
#define SSL_ctrl (Calls().SSL_ctrl)
#define SSL_do_handshake (Calls().SSL_do_handshake)
#define SSL_free (Calls().SSL_free)
#define SSL_get0_param (Calls().SSL_get0_param)
#define SSL_get_error (Calls().SSL_get_error)
#define SSL_get_verify_result (Calls().SSL_get_verify_result)
#define SSL_is_init_finished (Calls().SSL_is_init_finished)
#define SSL_new (Calls().SSL_new)
#define SSL_pending (Calls().SSL_pending)
#define SSL_read_ex (Calls().SSL_read_ex)
#define SSL_set1_host (Calls().SSL_set1_host)
#define SSL_set_connect_state (Calls().SSL_set_connect_state)
#define SSL_set_fd (Calls().SSL_set_fd)
#define SSL_write_ex (Calls().SSL_write_ex)
#define TLS_client_method (Calls().TLS_client_method)
#define X509_INFO_free (Calls().X509_INFO_free)
#define X509_STORE_add_cert (Calls().X509_STORE_add_cert)
#define X509_VERIFY_PARAM_set1_ip_asc (Calls().X509_VERIFY_PARAM_set1_ip_asc)
#define X509_verify_cert_error_string (Calls().X509_verify_cert_error_string)

struct SslContextFree {
    void operator()(SSL_CTX* context) const { SSL_CTX_free(context); }
};
struct SslFree {
    void operator()(SSL* ssl) const { SSL_free(ssl); }
};
struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};

// The oldest error in OpenSSL's queue of this thread, which is then emptied.
std::string SslErrorText() {
    const unsigned long code = ERR_get_error();
    ERR_clear_error();
    if (code == 0) {
        return "the connection broke off";
    }
    char text[256];
    ERR_error_string_n(code, text, sizeof text);
    return text;
}

class OpenSslTransport : public Transport {
public:
    void BeginConnect(const std::string& host, int port,
                      std::chrono::milliseconds timeout) override {
        tcp_.BeginConnect(host, port, timeout);
    }
    std::optional<ConnectFailure> Connecting(std::chrono::milliseconds wait) override {
        return tcp_.Connecting(wait);
    }

    TransportSend Send(std::string_view bytes) override {
        if (!ssl_) {
            return failed_ ? TransportSend{.failed = true} : tcp_.Send(bytes);
        }
        sendBlocked_.reset();
        std::size_t taken = 0;
        // The queue holds this thread's errors of any earlier call; SSL_get_error would read
        // them as this call's.
        ERR_clear_error();
        const int result =
            SSL_write_ex(ssl_.get(), bytes.data(), bytes.size(), &taken) == 1 ? 1 : 0;
        if (result == 1) {
            return {.taken = taken};
        }
        return OnlyWaits(result, sendBlocked_) ? TransportSend{} : TransportSend{.failed = true};
    }

    TransportRead Receive(std::span<char> buffer) override {
        if (!ssl_) {
            return failed_ ? TransportRead{TransportRead::Kind::Failed} : tcp_.Receive(buffer);
        }
        readBlocked_.reset();
        std::size_t count = 0;
        ERR_clear_error();
        const int result = SSL_read_ex(ssl_.get(), buffer.data(), buffer.size(), &count);
        if (result == 1) {
            return {TransportRead::Kind::Bytes, count};
        }
        if (SSL_get_error(ssl_.get(), result) == SSL_ERROR_ZERO_RETURN) {
            return {TransportRead::Kind::Closed};
        }
        return {OnlyWaits(result, readBlocked_) ? TransportRead::Kind::Nothing
                                                : TransportRead::Kind::Failed};
    }

    bool Wait(bool forWriting, std::chrono::milliseconds wait) override {
        return HasBuffered() || tcp_.Wait(forWriting, wait);
    }

    bool HasBuffered() const override { return ssl_ && SSL_pending(ssl_.get()) > 0; }
    // A send that waits decides: data is left to go, and the handshake may hold it.
    std::optional<Awaits> Blocked() const override {
        return sendBlocked_ ? sendBlocked_ : readBlocked_;
    }
    bool Handshaking() const override { return ssl_ && SSL_is_init_finished(ssl_.get()) == 0; }

    bool StartTls(const TlsRequest& request) override {
        if (!Begin(request)) {
            failed_ = true;
            ssl_.reset();
            return false;
        }
        // The client speaks first: the ClientHello leaves now, the rest as the server answers.
        ERR_clear_error();
        const int result = SSL_do_handshake(ssl_.get());
        if (result != 1 && !OnlyWaits(result, readBlocked_)) {
            failed_ = true;
            ssl_.reset();
            return false;
        }
        return true;
    }

    bool TlsActive() const override {
        return ssl_ && !failed_ && SSL_is_init_finished(ssl_.get()) == 1;
    }

    std::string TlsFailure() const override { return failure_; }

private:
    bool Begin(const TlsRequest& request) {
        if (!OpenSslLoaded()) {
            failure_ = "TLS cannot begin: libssl.so.3 cannot be loaded";
            return false;
        }
        context_.reset(SSL_CTX_new(TLS_client_method()));
        if (!context_ || SSL_CTX_set_min_proto_version(context_.get(), TLS1_2_VERSION) != 1 ||
            SSL_CTX_set_default_verify_paths(context_.get()) != 1) {
            failure_ = "TLS cannot begin: " + SslErrorText();
            return false;
        }
        if (!request.caPem.empty() && !TrustCas(request.caPem)) {
            failure_ = "the CA file holds no certificate OpenSSL can read: " + SslErrorText();
            return false;
        }
        SSL_CTX_set_verify(context_.get(), SSL_VERIFY_PEER, nullptr);
        // A server that hangs up without close_notify has closed the connection, as over plain
        // TCP: SMTP's replies end in their own line ends, so nothing can be cut off unseen.
        SSL_CTX_set_options(context_.get(), SSL_OP_IGNORE_UNEXPECTED_EOF);
        ssl_.reset(SSL_new(context_.get()));
        if (!ssl_ || SSL_set_fd(ssl_.get(), static_cast<int>(tcp_.socket().handle)) != 1 ||
            !NameTheServer(request.host)) {
            failure_ = "TLS cannot begin: " + SslErrorText();
            return false;
        }
        // The write buffer may move between retries: the driver keeps what is left in a
        // string that grows.
        SSL_set_mode(ssl_.get(),
                     SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
        SSL_set_connect_state(ssl_.get());
        return true;
    }

    // The CA file's certificates, read by the caller before connecting, added to the trust
    // store from memory: OpenSSL never opens the file, which might be a pipe.
    bool TrustCas(const std::string& pem) {
        std::unique_ptr<BIO, BioFree> bio(
            BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
        if (!bio) {
            return false;
        }
        STACK_OF(X509_INFO)* infos = PEM_X509_INFO_read_bio(bio.get(), nullptr, nullptr, nullptr);
        if (infos == nullptr) {
            return false;
        }
        X509_STORE* store = SSL_CTX_get_cert_store(context_.get());
        int added = 0;
        for (int i = 0; i < sk_X509_INFO_num(infos); ++i) {
            const X509_INFO* info = sk_X509_INFO_value(infos, i);
            if (info->x509 != nullptr && X509_STORE_add_cert(store, info->x509) == 1) {
                ++added;
            }
        }
        sk_X509_INFO_pop_free(infos, X509_INFO_free);
        return added > 0;
    }

    // An address is checked against the certificate's addresses and goes out without SNI,
    // which names hosts only (RFC 6066 3); a name against its names, and as SNI.
    bool NameTheServer(const std::string& host) {
        if (X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl_.get()), host.c_str()) == 1) {
            return true;
        }
        ERR_clear_error();
        return SSL_set_tlsext_host_name(ssl_.get(), host.c_str()) == 1 &&
               SSL_set1_host(ssl_.get(), host.c_str()) == 1;
    }

    // Whether a call that gave result only waits for the socket, and then what for (into
    // awaits); otherwise the reason of the failure is kept, and TLS is over for this
    // connection.
    bool OnlyWaits(int result, std::optional<Awaits>& awaits) {
        switch (SSL_get_error(ssl_.get(), result)) {
            case SSL_ERROR_WANT_READ:
                awaits = Awaits::Reading;
                return true;
            case SSL_ERROR_WANT_WRITE:
                awaits = Awaits::Writing;
                return true;
            default:
                break;
        }
        const long verified = SSL_get_verify_result(ssl_.get());
        if (verified != X509_V_OK) {
            failure_ = std::string("the server's certificate is refused: ") +
                       X509_verify_cert_error_string(verified);
            ERR_clear_error();
        } else if (!SSL_is_init_finished(ssl_.get())) {
            failure_ = "the TLS handshake failed: " + SslErrorText();
        } else {
            failure_.clear();
            ERR_clear_error();
        }
        return false;
    }

    TcpTransport tcp_;
    std::unique_ptr<SSL_CTX, SslContextFree> context_;
    std::unique_ptr<SSL, SslFree> ssl_;
    bool failed_ = false;
    std::optional<Awaits> sendBlocked_;
    std::optional<Awaits> readBlocked_;
    std::string failure_;
};

}  // namespace

std::unique_ptr<Transport> MakeTransport() {
    return std::make_unique<OpenSslTransport>();
}

}  // namespace tarvelo
