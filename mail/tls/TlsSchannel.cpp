// TLS through Windows' own Schannel (secur32) over the non-blocking TCP connection: TLS 1.2, the
// server's name as SNI, and the certificate checked by crypt32 against the system's trust store
// (and a CA file of the user's) and against the server's name. Schannel is told to check
// nothing itself, so that both checks and their reasons are ours, as on Linux.
//
// Nothing waits: each Send and Receive runs the handshake as far as the socket allows and says
// whether it waits to read or to write (want_), as OpenSSL's want-read and want-write do. Once
// TLS has begun nothing goes out or comes in as plain text again: a failed handshake or check
// fails every Send and Receive after it.
#define SECURITY_WIN32
#include <windows.h>
// After windows.h, in this order.
#include <wincrypt.h>
// Needs wincrypt.h.
#include <schannel.h>
#include <security.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "mail/tls/SchannelReasons.h"
#include "mail/tls/TlsTransport.h"
#include "platform/Utf16Win32.h"

namespace tarvelo {

namespace {

constexpr DWORD kContextRequest = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT |
                                  ISC_REQ_CONFIDENTIALITY | ISC_REQ_ALLOCATE_MEMORY |
                                  ISC_REQ_STREAM | ISC_REQ_USE_SUPPLIED_CREDS;

struct StoreClose {
    void operator()(HCERTSTORE store) const { CertCloseStore(store, 0); }
};
using Store = std::unique_ptr<void, StoreClose>;

// The PEM certificates of text in a memory store; null when there is none.
Store CertificatesOf(const std::string& text) {
    Store store(CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr));
    if (!store) {
        return nullptr;
    }
    static constexpr std::string_view kBegin = "-----BEGIN CERTIFICATE-----";
    static constexpr std::string_view kEnd = "-----END CERTIFICATE-----";
    int added = 0;
    for (std::size_t begin = text.find(kBegin); begin != std::string::npos;
         begin = text.find(kBegin, begin + kBegin.size())) {
        const std::size_t end = text.find(kEnd, begin);
        if (end == std::string::npos) {
            break;
        }
        const std::string block = text.substr(begin, end + kEnd.size() - begin);
        DWORD size = 0;
        if (!CryptStringToBinaryA(block.c_str(), static_cast<DWORD>(block.size()),
                                  CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr)) {
            continue;
        }
        std::string der(size, '\0');
        if (CryptStringToBinaryA(block.c_str(), static_cast<DWORD>(block.size()),
                                 CRYPT_STRING_BASE64HEADER, reinterpret_cast<BYTE*>(der.data()),
                                 &size, nullptr, nullptr) &&
            CertAddEncodedCertificateToStore(store.get(), X509_ASN_ENCODING,
                                             reinterpret_cast<const BYTE*>(der.data()), size,
                                             CERT_STORE_ADD_USE_EXISTING, nullptr)) {
            ++added;
        }
    }
    return added > 0 ? std::move(store) : nullptr;
}

// The bytes of an IP address written as text (4 or 16), empty for a name.
std::string AddressBytes(const std::string& host) {
    addrinfo hints{};
    hints.ai_flags = AI_NUMERICHOST;
    hints.ai_family = AF_UNSPEC;
    addrinfo* list = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0 || list == nullptr) {
        return {};
    }
    std::string bytes;
    if (list->ai_family == AF_INET) {
        const auto* address = reinterpret_cast<const sockaddr_in*>(list->ai_addr);
        bytes.assign(reinterpret_cast<const char*>(&address->sin_addr), 4);
    } else if (list->ai_family == AF_INET6) {
        const auto* address = reinterpret_cast<const sockaddr_in6*>(list->ai_addr);
        bytes.assign(reinterpret_cast<const char*>(&address->sin6_addr), 16);
    }
    freeaddrinfo(list);
    return bytes;
}

// Whether the certificate's subject alternative names hold the address (RFC 6125 6.2.1: an
// address is matched against iPAddress entries only, never against the common name).
bool NamesTheAddress(PCCERT_CONTEXT certificate, const std::string& address) {
    const CERT_EXTENSION* extension =
        CertFindExtension(szOID_SUBJECT_ALT_NAME2, certificate->pCertInfo->cExtension,
                          certificate->pCertInfo->rgExtension);
    if (extension == nullptr) {
        return false;
    }
    CERT_ALT_NAME_INFO* names = nullptr;
    DWORD size = 0;
    if (!CryptDecodeObjectEx(X509_ASN_ENCODING, X509_ALTERNATE_NAME, extension->Value.pbData,
                             extension->Value.cbData, CRYPT_DECODE_ALLOC_FLAG, nullptr, &names,
                             &size)) {
        return false;
    }
    bool found = false;
    for (DWORD i = 0; i < names->cAltEntry && !found; ++i) {
        const CERT_ALT_NAME_ENTRY& entry = names->rgAltEntry[i];
        found = entry.dwAltNameChoice == CERT_ALT_NAME_IP_ADDRESS &&
                std::string_view(reinterpret_cast<const char*>(entry.IPAddress.pbData),
                                 entry.IPAddress.cbData) == address;
    }
    LocalFree(names);
    return found;
}

// The SSL policy's verdict on the chain that engine builds for certificate (0: accepted).
// serverName null: the name is not checked here.
DWORD PolicyVerdict(HCERTCHAINENGINE engine, PCCERT_CONTEXT certificate,
                    const wchar_t* serverName) {
    static char serverAuth[] = szOID_PKIX_KP_SERVER_AUTH;
    char* usages[] = {serverAuth};
    CERT_CHAIN_PARA parameters{};
    parameters.cbSize = sizeof parameters;
    parameters.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
    parameters.RequestedUsage.Usage.cUsageIdentifier = 1;
    parameters.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    // The server's intermediate certificates came with it, in its store.
    if (!CertGetCertificateChain(engine, certificate, nullptr, certificate->hCertStore, &parameters,
                                 0, nullptr, &chain)) {
        return static_cast<DWORD>(CERT_E_CHAINING);
    }
    HTTPSPolicyCallbackData ssl{};
    ssl.cbStruct = sizeof ssl;
    ssl.dwAuthType = AUTHTYPE_SERVER;
    ssl.pwszServerName = const_cast<wchar_t*>(serverName);
    CERT_CHAIN_POLICY_PARA policy{};
    policy.cbSize = sizeof policy;
    policy.pvExtraPolicyPara = &ssl;
    CERT_CHAIN_POLICY_STATUS status{};
    status.cbSize = sizeof status;
    const BOOL checked =
        CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status);
    const DWORD trust = chain->TrustStatus.dwErrorStatus;
    CertFreeCertificateChain(chain);
    if (!checked) {
        return static_cast<DWORD>(CERT_E_CHAINING);
    }
    return status.dwError != 0 ? status.dwError : ChainTrustError(trust);
}

class SchannelTransport : public Transport {
public:
    ~SchannelTransport() override {
        if (haveContext_) {
            DeleteSecurityContext(&context_);
        }
        if (haveCredentials_) {
            FreeCredentialsHandle(&credentials_);
        }
    }

    void BeginConnect(const std::string& host, int port,
                      std::chrono::milliseconds timeout) override {
        tcp_.BeginConnect(host, port, timeout);
    }
    std::optional<ConnectFailure> Connecting(std::chrono::milliseconds wait) override {
        return tcp_.Connecting(wait);
    }

    TransportSend Send(std::string_view bytes) override {
        switch (phase_) {
            case Phase::Plain:
                return tcp_.Send(bytes);
            case Phase::Handshake:
                Handshake();
                if (phase_ != Phase::Open) {
                    return {.failed = phase_ == Phase::Failed};
                }
                break;
            case Phase::Open:
                break;
            case Phase::Failed:
                return {.failed = true};
        }
        if (!Flush()) {
            return {.failed = true};
        }
        // A record sealed earlier is taken only once it has gone out whole; the caller offers
        // the same bytes again until then.
        if (!outbound_.empty()) {
            return {};
        }
        if (sealed_ > 0) {
            return {.taken = std::exchange(sealed_, 0)};
        }
        if (bytes.empty()) {
            return {};
        }
        const std::string_view record = bytes.substr(0, sizes_.cbMaximumMessage);
        if (!Seal(record)) {
            return {.failed = true};
        }
        sealed_ = record.size();
        if (!Flush()) {
            return {.failed = true};
        }
        return outbound_.empty() ? TransportSend{.taken = std::exchange(sealed_, 0)}
                                 : TransportSend{};
    }

    TransportRead Receive(std::span<char> buffer) override {
        switch (phase_) {
            case Phase::Plain:
                return tcp_.Receive(buffer);
            case Phase::Handshake:
                Handshake();
                if (phase_ != Phase::Open) {
                    return {phase_ == Phase::Failed ? TransportRead::Kind::Failed
                                                    : TransportRead::Kind::Nothing};
                }
                break;
            case Phase::Open:
                break;
            case Phase::Failed:
                return {TransportRead::Kind::Failed};
        }
        if (!Flush()) {
            return {TransportRead::Kind::Failed};
        }
        if (plain_.empty() && !closed_) {
            const Arrival arrival = ReadSocket();
            if (arrival == Arrival::Failed) {
                return {TransportRead::Kind::Failed};
            }
            // A server that hangs up without close_notify has closed the connection, as over
            // plain TCP: SMTP's replies end in their own line ends.
            closed_ = arrival == Arrival::Closed;
            if (!Decrypt()) {
                return {TransportRead::Kind::Failed};
            }
        }
        if (plain_.empty()) {
            return {closed_ ? TransportRead::Kind::Closed : TransportRead::Kind::Nothing};
        }
        const std::size_t count = std::min(buffer.size(), plain_.size());
        std::memcpy(buffer.data(), plain_.data(), count);
        plain_.erase(0, count);
        return {TransportRead::Kind::Bytes, count};
    }

    bool Wait(bool forWriting, std::chrono::milliseconds wait) override {
        if (HasBuffered()) {
            return true;
        }
        // While the handshake runs, only its own direction matters: the caller's data waits.
        if (phase_ == Phase::Handshake) {
            return tcp_.Wait(want_ == Want::Write, wait);
        }
        return tcp_.Wait(forWriting || !outbound_.empty(), wait);
    }

    bool HasBuffered() const override { return !plain_.empty() || (closed_ && Open()); }
    std::optional<Awaits> Blocked() const override {
        if (phase_ == Phase::Handshake) {
            return want_ == Want::Write ? Awaits::Writing : Awaits::Reading;
        }
        return outbound_.empty() ? std::nullopt : std::optional<Awaits>(Awaits::Writing);
    }
    bool Handshaking() const override { return phase_ == Phase::Handshake; }

    bool StartTls(const TlsRequest& request) override {
        phase_ = Phase::Failed;
        if (!request.caPem.empty()) {
            extraRoots_ = CertificatesOf(request.caPem);
            if (!extraRoots_) {
                failure_ = "the CA file holds no PEM certificate";
                return false;
            }
        }
        address_ = AddressBytes(request.host);
        host_ = WideFromUtf8(request.host);
        SCHANNEL_CRED settings{};
        settings.dwVersion = SCHANNEL_CRED_VERSION;
        settings.grbitEnabledProtocols = SP_PROT_TLS1_2_CLIENT;
        // The certificate is checked here after the handshake (Verify), with the user's CA file
        // and the reasons of our own; no client certificate is ever offered.
        settings.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
        wchar_t package[] = UNISP_NAME_W;
        const SECURITY_STATUS acquired =
            AcquireCredentialsHandleW(nullptr, package, SECPKG_CRED_OUTBOUND, nullptr, &settings,
                                      nullptr, nullptr, &credentials_, nullptr);
        if (acquired != SEC_E_OK) {
            failure_ = "TLS cannot begin: " + SecurityStatusText(acquired);
            return false;
        }
        haveCredentials_ = true;
        phase_ = Phase::Handshake;
        // The client speaks first: the ClientHello leaves now, the rest as the server answers.
        Step();
        if (phase_ == Phase::Handshake && Flush()) {
            want_ = outbound_.empty() ? Want::Read : Want::Write;
        }
        return phase_ != Phase::Failed;
    }

    // Open only once the handshake and the checks of the chain and the name have passed.
    bool TlsActive() const override { return Open(); }
    std::string TlsFailure() const override { return failure_; }

private:
    enum class Phase { Plain, Handshake, Open, Failed };
    enum class Want { Read, Write };
    enum class Arrival { Bytes, Nothing, Closed, Failed };

    bool Open() const { return phase_ == Phase::Open; }

    void Fail(std::string reason) {
        phase_ = Phase::Failed;
        failure_ = std::move(reason);
    }

    // Runs the handshake until it is done, fails, or waits for the socket.
    void Handshake() {
        for (;;) {
            if (!Flush()) {
                Fail("the TLS handshake failed: the connection broke off");
                return;
            }
            if (!outbound_.empty()) {
                want_ = Want::Write;
                return;
            }
            if (needMore_) {
                switch (ReadSocket()) {
                    case Arrival::Bytes:
                        break;
                    case Arrival::Nothing:
                        want_ = Want::Read;
                        return;
                    case Arrival::Closed:
                        Fail("the TLS handshake failed: the server closed the connection");
                        return;
                    case Arrival::Failed:
                        Fail("the TLS handshake failed: the connection broke off");
                        return;
                }
            }
            Step();
            if (phase_ != Phase::Handshake) {
                return;
            }
        }
    }

    // One call of InitializeSecurityContext with what has arrived.
    void Step() {
        const bool first = !haveContext_;
        SecBuffer in[2] = {
            {static_cast<unsigned long>(inbound_.size()), SECBUFFER_TOKEN, inbound_.data()},
            {0, SECBUFFER_EMPTY, nullptr}};
        SecBufferDesc input{SECBUFFER_VERSION, 2, in};
        SecBuffer out[1] = {{0, SECBUFFER_TOKEN, nullptr}};
        SecBufferDesc output{SECBUFFER_VERSION, 1, out};
        unsigned long attributes = 0;
        // An address goes out without SNI, which names hosts only (RFC 6066 3).
        wchar_t* target = address_.empty() ? host_.data() : nullptr;
        const SECURITY_STATUS status = InitializeSecurityContextW(
            &credentials_, first ? nullptr : &context_, target, kContextRequest, 0, 0,
            first ? nullptr : &input, 0, &context_, &output, &attributes, nullptr);
        haveContext_ = haveContext_ || !FAILED(status);
        if (out[0].pvBuffer != nullptr) {
            outbound_.append(static_cast<const char*>(out[0].pvBuffer), out[0].cbBuffer);
            FreeContextBuffer(out[0].pvBuffer);
        }
        if (status == SEC_E_INCOMPLETE_MESSAGE) {
            needMore_ = true;
            return;
        }
        if (status == SEC_I_INCOMPLETE_CREDENTIALS && !certificateAsked_) {
            // The server asks for a client certificate: the same input once more goes on
            // without one, as this client never offers any.
            certificateAsked_ = true;
            needMore_ = false;
            return;
        }
        if (status != SEC_E_OK && status != SEC_I_CONTINUE_NEEDED) {
            Fail("the TLS handshake failed: " + SecurityStatusText(status));
            return;
        }
        if (!first) {
            KeepExtra(in[1]);
        }
        needMore_ = inbound_.empty();
        if (status == SEC_E_OK) {
            Finish();
        }
    }

    // Bytes after the message just taken belong to the next one (or, after the last, to the
    // first record of data): Schannel leaves them at the end of the input.
    void KeepExtra(const SecBuffer& extra) {
        if (extra.BufferType == SECBUFFER_EXTRA && extra.cbBuffer > 0) {
            inbound_.erase(0, inbound_.size() - extra.cbBuffer);
        } else {
            inbound_.clear();
        }
    }

    void Finish() {
        if (QueryContextAttributesW(&context_, SECPKG_ATTR_STREAM_SIZES, &sizes_) != SEC_E_OK ||
            sizes_.cbMaximumMessage == 0) {
            Fail("the TLS handshake failed: no record sizes");
            return;
        }
        if (const std::string refusal = Verify(); !refusal.empty()) {
            Fail("the server's certificate is refused: " + refusal);
            return;
        }
        phase_ = Phase::Open;
        // What came with the server's last handshake message is the first data, kept for the
        // first decrypt (a server's greeting on port 465 may be there already).
        if (!Decrypt()) {
            phase_ = Phase::Failed;
        }
    }

    // Empty when the certificate is accepted, else why not.
    std::string Verify() {
        PCCERT_CONTEXT certificate = nullptr;
        if (QueryContextAttributesW(&context_, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &certificate) !=
                SEC_E_OK ||
            certificate == nullptr) {
            return "the server sent none";
        }
        const bool byAddress = !address_.empty();
        const wchar_t* name = byAddress ? nullptr : host_.c_str();
        // The system's trust store first; the user's CA file adds trust, it never takes away.
        DWORD verdict = PolicyVerdict(nullptr, certificate, name);
        if (extraRoots_ && (verdict == static_cast<DWORD>(CERT_E_UNTRUSTEDROOT) ||
                            verdict == static_cast<DWORD>(CERT_E_CHAINING))) {
            CERT_CHAIN_ENGINE_CONFIG config{};
            // The size of Windows 7's form, the first with hExclusiveRoot: wine's crypt32
            // takes no other.
            config.cbSize = offsetof(CERT_CHAIN_ENGINE_CONFIG, dwExclusiveFlags);
            config.hExclusiveRoot = extraRoots_.get();
            HCERTCHAINENGINE engine = nullptr;
            if (CertCreateCertificateChainEngine(&config, &engine)) {
                verdict = PolicyVerdict(engine, certificate, name);
                CertFreeCertificateChainEngine(engine);
            }
        }
        if (verdict == 0 && byAddress && !NamesTheAddress(certificate, address_)) {
            verdict = static_cast<DWORD>(CERT_E_CN_NO_MATCH);
        }
        CertFreeCertificateContext(certificate);
        return verdict == 0 ? std::string() : CertificateRefusal(verdict, byAddress);
    }

    // Decrypts every whole record that has arrived into plain_. False when one does not
    // decrypt, or the server asks for a renegotiation, which this client never takes.
    bool Decrypt() {
        while (!inbound_.empty()) {
            SecBuffer buffers[4] = {
                {static_cast<unsigned long>(inbound_.size()), SECBUFFER_DATA, inbound_.data()},
                {0, SECBUFFER_EMPTY, nullptr},
                {0, SECBUFFER_EMPTY, nullptr},
                {0, SECBUFFER_EMPTY, nullptr}};
            SecBufferDesc description{SECBUFFER_VERSION, 4, buffers};
            const SECURITY_STATUS status = DecryptMessage(&context_, &description, 0, nullptr);
            if (status == SEC_E_INCOMPLETE_MESSAGE) {
                return true;
            }
            if (status == SEC_I_CONTEXT_EXPIRED) {
                closed_ = true;
                inbound_.clear();
                return true;
            }
            if (status != SEC_E_OK) {
                return false;
            }
            std::size_t extra = 0;
            for (const SecBuffer& buffer : buffers) {
                if (buffer.BufferType == SECBUFFER_DATA && buffer.pvBuffer != nullptr) {
                    plain_.append(static_cast<const char*>(buffer.pvBuffer), buffer.cbBuffer);
                } else if (buffer.BufferType == SECBUFFER_EXTRA) {
                    extra = buffer.cbBuffer;
                }
            }
            inbound_.erase(0, inbound_.size() - extra);
        }
        return true;
    }

    // One record of plain text, encrypted into outbound_.
    bool Seal(std::string_view plain) {
        std::string record(sizes_.cbHeader + plain.size() + sizes_.cbTrailer, '\0');
        std::memcpy(record.data() + sizes_.cbHeader, plain.data(), plain.size());
        SecBuffer buffers[4] = {{sizes_.cbHeader, SECBUFFER_STREAM_HEADER, record.data()},
                                {static_cast<unsigned long>(plain.size()), SECBUFFER_DATA,
                                 record.data() + sizes_.cbHeader},
                                {sizes_.cbTrailer, SECBUFFER_STREAM_TRAILER,
                                 record.data() + sizes_.cbHeader + plain.size()},
                                {0, SECBUFFER_EMPTY, nullptr}};
        SecBufferDesc description{SECBUFFER_VERSION, 4, buffers};
        if (EncryptMessage(&context_, 0, &description, 0) != SEC_E_OK) {
            return false;
        }
        outbound_.append(record.data(),
                         buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer);
        return true;
    }

    // Sends what the socket takes now of outbound_. False when the send failed.
    bool Flush() {
        while (!outbound_.empty()) {
            const TransportSend sent = tcp_.Send(outbound_);
            if (sent.failed) {
                return false;
            }
            if (sent.taken == 0) {
                return true;
            }
            outbound_.erase(0, sent.taken);
        }
        return true;
    }

    // One read of what the socket holds, added to inbound_.
    Arrival ReadSocket() {
        char chunk[16 * 1024 + 512];
        const TransportRead read = tcp_.Receive(chunk);
        switch (read.kind) {
            case TransportRead::Kind::Bytes:
                inbound_.append(chunk, read.count);
                needMore_ = false;
                return Arrival::Bytes;
            case TransportRead::Kind::Nothing:
                return Arrival::Nothing;
            case TransportRead::Kind::Closed:
                return Arrival::Closed;
            case TransportRead::Kind::Failed:
                break;
        }
        return Arrival::Failed;
    }

    TcpTransport tcp_;
    Phase phase_ = Phase::Plain;
    Want want_ = Want::Read;
    CredHandle credentials_{};
    CtxtHandle context_{};
    bool haveCredentials_ = false;
    bool haveContext_ = false;
    SecPkgContext_StreamSizes sizes_{};
    std::wstring host_;
    std::string address_;  // the server's address as bytes when it was given as one
    Store extraRoots_;
    std::string inbound_;     // arrived and not yet taken by Schannel
    std::string outbound_;    // from Schannel, not yet taken by the socket
    std::string plain_;       // decrypted and not yet read
    std::size_t sealed_ = 0;  // plain bytes in the record that outbound_ still holds
    bool needMore_ = true;    // Schannel needs more than inbound_ holds
    bool closed_ = false;     // the server closed the connection, or sent close_notify
    bool certificateAsked_ = false;
    std::string failure_;
};

}  // namespace

std::unique_ptr<Transport> MakeTransport() {
    return std::make_unique<SchannelTransport>();
}

}  // namespace tarvelo
