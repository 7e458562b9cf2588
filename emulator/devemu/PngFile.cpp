#include "PngFile.h"

#include <cstdio>

#include <objbase.h>
#include <wincodec.h>

namespace devemu {
namespace {

// One reference to a COM object, released when the owner goes.
template <class T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() {
        if (p_) p_->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T** Out() { return &p_; }
    T* operator->() const { return p_; }
    T* get() const { return p_; }

private:
    T* p_ = nullptr;
};

// COM for one scope of this thread; a thread that has it already keeps it.
class ComScope {
public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT result_;
};

std::string Failed(const char* step, HRESULT result) {
    char text[96];
    std::snprintf(text, sizeof text, "%s failed (0x%08lX)", step, static_cast<unsigned long>(result));
    return text;
}

// The encoding itself; `error` names the step that failed.
bool Encode(const std::wstring& path, int width, int height, const uint8_t* bgr, size_t stride, std::string& error) {
    ComRef<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  reinterpret_cast<void**>(factory.Out()));
    if (FAILED(hr)) return error = Failed("the imaging component", hr), false;
    ComRef<IWICStream> stream;
    if (FAILED(hr = factory->CreateStream(stream.Out())) ||
        FAILED(hr = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE))) {
        return error = Failed("opening the file", hr), false;
    }
    ComRef<IWICBitmapEncoder> encoder;
    ComRef<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out())) ||
        FAILED(hr = encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
        FAILED(hr = encoder->CreateNewFrame(frame.Out(), nullptr)) || FAILED(hr = frame->Initialize(nullptr)) ||
        FAILED(hr = frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) ||
        FAILED(hr = frame->SetPixelFormat(&format))) {
        return error = Failed("setting up the PNG encoder", hr), false;
    }
    if (format != GUID_WICPixelFormat24bppBGR) return error = "the PNG encoder wants another pixel format", false;
    const auto size = static_cast<UINT>(stride * static_cast<size_t>(height));
    if (FAILED(hr = frame->WritePixels(static_cast<UINT>(height), static_cast<UINT>(stride), size,
                                       const_cast<BYTE*>(bgr))) ||
        FAILED(hr = frame->Commit()) || FAILED(hr = encoder->Commit())) {
        return error = Failed("encoding the PNG", hr), false;
    }
    return true;
}

}  // namespace

bool WritePng(const std::wstring& path, int width, int height, const uint8_t* bgr, size_t stride,
              std::string& error) {
    if (width <= 0 || height <= 0 || !bgr) {
        error = "nothing to write";
        return false;
    }
    ComScope com;
    if (!com.Usable()) {
        error = "COM is not available";
        return false;
    }
    if (Encode(path, width, height, bgr, stride, error)) return true;
    DeleteFileW(path.c_str());  // whatever the encoder had written of it
    return false;
}

}  // namespace devemu
