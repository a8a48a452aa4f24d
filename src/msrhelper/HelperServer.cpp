#include "msrhelper/HelperServer.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace calidus {

namespace {

constexpr std::size_t kReadSize = kHelperRecordSize * kHelperBatchLimit;

HelperRecord decode(const std::byte* bytes) {
    HelperRecord record;
    std::memcpy(&record, bytes, kHelperRecordSize);
    return record;
}

bool startsWithMagic(const std::byte* bytes) {
    std::uint32_t magic = 0;
    std::memcpy(&magic, bytes, sizeof magic);
    return magic == HelperRecord::kMagic;
}

// Where the next record could start after one at `from` that is not ours: the next occurrence
// of the magic, or the tail that could still begin one.
std::size_t resynchronise(const std::vector<std::byte>& input, std::size_t from) {
    constexpr std::size_t kMagicSize = sizeof HelperRecord::kMagic;
    std::size_t at = from + 1;
    while (at + kMagicSize <= input.size() && !startsWithMagic(input.data() + at)) {
        ++at;
    }
    return at;
}

HelperRecord refusal(MsrStatus status) {
    HelperRecord record;
    record.status = status;
    return record;
}

}  // namespace

HelperServer::HelperServer(HelperChannel& channel, MsrGate& gate, MsrStatus greeting,
                           std::uint32_t processors)
    : channel_(channel), gate_(gate), greeting_(greeting), processors_(processors) {}

int HelperServer::run() {
    HelperRecord greeting;
    greeting.operation = HelperOperation::Greeting;
    greeting.status = greeting_;
    greeting.processor = processors_;
    greeting.index = HelperRecord::kVersion;
    if (!send({greeting}) || greeting_ != MsrStatus::Ok) {
        return greeting_ == MsrStatus::Ok ? 0 : 1;
    }
    std::vector<std::byte> input;
    std::vector<HelperRecord> replies;
    std::array<std::byte, kReadSize> buffer{};
    for (;;) {
        const std::size_t got = channel_.read(buffer);
        if (got == 0) {
            break;
        }
        input.insert(input.end(), buffer.begin(), buffer.begin() + static_cast<long>(got));
        replies.clear();
        const bool goodbye = answer(input, replies);
        if (!send(replies)) {
            break;
        }
        if (goodbye) {
            return 0;
        }
    }
    if (!input.empty()) {
        send({refusal(MsrStatus::ShortRecord)});
    }
    gate_.restoreClockModulation();
    return 0;
}

bool HelperServer::answer(std::vector<std::byte>& input, std::vector<HelperRecord>& replies) {
    std::size_t at = 0;
    while (input.size() - at >= kHelperRecordSize) {
        if (!startsWithMagic(input.data() + at)) {
            replies.push_back(refusal(MsrStatus::Malformed));
            at = resynchronise(input, at);
            continue;
        }
        const HelperRecord request = decode(input.data() + at);
        at += kHelperRecordSize;
        replies.push_back(answerRequest(gate_, request));
        if (request.operation == HelperOperation::Goodbye &&
            replies.back().status == MsrStatus::Ok) {
            input.clear();
            return true;
        }
    }
    input.erase(input.begin(), input.begin() + static_cast<long>(at));
    return false;
}

HelperRecord answerRequest(MsrGate& gate, const HelperRecord& request) {
    HelperRecord answer = request;
    if (request.status != MsrStatus::Ok || request.reserved != 0) {
        answer.status = MsrStatus::Malformed;
        return answer;
    }
    switch (request.operation) {
        case HelperOperation::Read: {
            std::uint64_t value = 0;
            answer.status = gate.read(request.processor, request.index, value);
            answer.setValue(succeeded(answer.status) ? value : 0);
            return answer;
        }
        case HelperOperation::Write:
            answer.status = gate.write(request.processor, request.index, request.value());
            return answer;
        case HelperOperation::Goodbye:
            return answer;
        default:
            answer.status = MsrStatus::UnknownOperation;
            return answer;
    }
}

bool HelperServer::send(const std::vector<HelperRecord>& replies) {
    if (replies.empty()) {
        return true;
    }
    std::vector<std::byte> bytes(replies.size() * kHelperRecordSize);
    std::memcpy(bytes.data(), replies.data(), bytes.size());
    return channel_.write(bytes);
}

}  // namespace calidus
