#include "streams/StreamWrapper.h"

namespace tonvella {

int TStreamWrapper::Eof() {
    return _stream ? _stream->Eof() : 1;
}
int TStreamWrapper::Pos() {
    return _stream ? _stream->Pos() : -1;
}
int TStreamWrapper::Size() {
    return _stream ? _stream->Size() : 0;
}
int TStreamWrapper::Seek(int pos) {
    return _stream ? _stream->Seek(pos) : -1;
}
int TStreamWrapper::Flush() {
    return _stream ? _stream->Flush() : 0;
}
int TStreamWrapper::Close() {
    return _stream ? _stream->Close() : 0;
}
int TStreamWrapper::Read(void* buf, int count) {
    return _stream ? _stream->Read(buf, count) : 0;
}
int TStreamWrapper::Write(const void* buf, int count) {
    return _stream ? _stream->Write(buf, count) : 0;
}
std::u16string TStreamWrapper::ReadLine() {
    return _stream ? _stream->ReadLine() : u"";
}
int TStreamWrapper::WriteLine(const std::u16string& text) {
    return _stream ? _stream->WriteLine(text) : 0;
}

TStreamHandle TStreamStream::Create(TStreamHandle stream) {
    return std::make_shared<TStreamStream>(std::move(stream));
}

int TStreamStream::Close() {
    SetStream(nullptr);
    return 0;
}

} // namespace tonvella
