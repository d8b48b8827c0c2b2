#include <cstdio>
#include <filesystem>
#include <fstream>

#include "common/data_file_packed.h"
#include "common/data_file_path.h"
#include "common/exception.h"
#include "common/sdl_init.h"
#include "common/trace.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/identity.h"
#include "graphics/scene/icon_graphics_manager.h"
#include "graphics/xp_device.h"
#include "platform/win32/file_path.h"
#include "rules/module.h"
#include "rules/module_version_range.h"

namespace {

CDRAVApp theApp;

// Package errors other than "missing or unreadable" are not the module's absence
// but still mean there is no module to run.
template <typename Make>
std::shared_ptr<DRAVCommon::CDataFileFactory> OpenPackage(Make make, bool& failedOtherwise) {
    try {
        return make();
    } catch (const CDRAVException& failure) {
        if (failure.GetCode() != DRAV_ERR_BAD_DATA) failedOtherwise = true;
    } catch (const std::exception&) {
        failedOtherwise = true;
    }
    return nullptr;
}

// A failure's own words as a sentence of the start-up message: ended by a full stop.
std::string Sentence(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    if (!text.empty() && text.back() != '.') text += '.';
    return text;
}

bool FileExists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(Win32::NativePath(path), ignored);
}

// A start-up that fails says so to whoever started the program.
constexpr int kStartUpFailed = 1;

int StartUpFailed(const char* why) {
    if (why) std::fprintf(stderr, "%s: %s\n", GetProductTitle().c_str(), why);
    return kStartUpFailed;
}

}  // namespace

CDRAVApp& GetApp() { return theApp; }

CDRAVApp::CDRAVApp() = default;
CDRAVApp::~CDRAVApp() = default;

void RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(213));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::intptr_t>(COLOR_WINDOW + 1));
    windowClass.lpszClassName = GetApp().m_windowClass;
    windowClass.hIconSm = windowClass.hIcon;
    RegisterClassExA(&windowClass);
}

int RunApplication(HINSTANCE instance, const char* commandLine, int showCommand) {
    CDRAVApp& app = GetApp();
    LoadStringA(instance, 103, app.m_title, sizeof app.m_title);
    LoadStringA(instance, 109, app.m_windowClass, sizeof app.m_windowClass);
    RegisterMainWindowClass(instance);
    if (!app.CreateMainWindow(instance, showCommand))
        return StartUpFailed(app.m_exitStatus ? nullptr : "the window could not be made");
    if (!app.LoadCursors()) return StartUpFailed("the cursors could not be loaded");
    if (!app.InitLoadModule(commandLine ? commandLine : "")) return StartUpFailed(nullptr);
    if (!app.InitDirect3D()) return StartUpFailed(nullptr);
    InvalidateRect(app.m_window, nullptr, FALSE);
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(109));
    if (!PostMessageA(app.m_window, WM_APP, 0, 0)) return StartUpFailed("the window's first message was refused");
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0)) {
        if (!TranslateAcceleratorA(message.hwnd, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    app.ReleaseAudio();
    return static_cast<int>(message.wParam);
}

int WinMain(HINSTANCE instance, HINSTANCE, char* commandLine, int showCommand) {
    return RunApplication(instance, commandLine, showCommand);
}

std::string CDRAVApp::ModuleFailureText(const std::string& folder, const std::string& why) {
    return "Failed to load module \"" + folder + "\". " + (why.empty() ? "" : why + " ") +
           "The game is broken. Try reinstalling, or contact " + GetCompanyName() + " for support.";
}

void CDRAVApp::ShowError(const std::string& text, const std::string& caption) const {
    MessageBoxA(m_window, text.c_str(), caption.c_str(), MB_ICONEXCLAMATION);
}

void CDRAVApp::ShowScriptError(const CDRAVException& failure) const {
    std::string text = "You may continue to play, however things may be broken";
    if (!failure.GetMessage().empty()) text += "\n\n" + failure.GetMessage();
    ShowError(text, "Script Error");
}

void CDRAVApp::ShowFatalError(const std::string& text, const std::string& caption) {
    std::string line = text;
    while (!line.empty() && line.back() == '\n') line.pop_back();
    std::fprintf(stderr, "%s: %s: %s\n", GetProductTitle().c_str(), caption.c_str(), line.c_str());
    std::fflush(stderr);
    m_exitStatus = kStartUpFailed;
    ShowError(text, caption);
}

bool CDRAVApp::CreateMainWindow(HINSTANCE instance, int showCommand) {
    // The old holder goes first: deleting it quits SDL, which must not undo the new one.
    m_sdl.reset();
    try {
        m_sdl = std::make_unique<DRAVSDL::InitSDL>();
    } catch (const std::exception& failure) {
        ShowFatalError(std::string(failure.what()) + "\nThe game cannot start. Try reinstalling, or contact " +
                      GetCompanyName() + " for support.",
                  "Game Error");
        return false;
    }
    m_instance = instance;
    m_window = CreateWindowExA(0, m_windowClass, m_title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, kMinimumWidth,
                               kMinimumHeight, nullptr, nullptr, instance, nullptr);
    if (!m_window) return false;
    SetWindowLongA(m_window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowTextA(m_window, (GetProductTitle() + " - Welcome").c_str());
    ShowWindow(m_window, showCommand);
    UpdateWindow(m_window);
    return true;
}

bool CDRAVApp::LoadCursors() {
    m_cursorArrow = LoadCursorA(nullptr, IDC_ARROW);
    m_cursorSizeAll = LoadCursorA(nullptr, IDC_SIZEALL);
    m_cursorUpArrow = LoadCursorA(nullptr, IDC_UPARROW);
    m_cursorCross = LoadCursorA(nullptr, IDC_CROSS);
    m_cursorHand = LoadCursorA(nullptr, IDC_HAND);
    m_cursorWait = LoadCursorA(nullptr, IDC_WAIT);
    if (!m_cursorArrow || !m_cursorSizeAll || !m_cursorUpArrow || !m_cursorCross || !m_cursorHand || !m_cursorWait)
        return false;
    m_currentCursor = m_cursorArrow;
    return true;
}

bool CDRAVApp::InitLoadModule(std::string commandLine) {
    std::string folder = std::move(commandLine);
    if (folder.empty()) {
        char path[260] = {};
        GetModuleFileNameA(nullptr, path, sizeof path);
        folder = path;
        std::size_t last = folder.rfind('\\');
        folder = last == std::string::npos ? std::string() : folder.substr(0, last);
    }
    DRAV_TRACE(DRAVCommon::TRACE_HIGH, "module path=%s\n", folder.c_str());

    bool failedOtherwise = false;
    auto interface = OpenPackage(
        [&] { return DRAVCommon::CDataFileFactoryPacked::FromPath(folder + "\\uiwin32.drav"); }, failedOtherwise);
    if (!interface) {
        ShowFatalError(ModuleFailureText(folder, FileExists(folder + "\\uiwin32.drav")
                                                     ? "\"uiwin32.drav\" cannot be read."
                                                     : "\"uiwin32.drav\" is missing."),
                       "Game Error");
        return false;
    }
    m_uiManager.SetDataFileFactory(interface);

    std::shared_ptr<DRAVCommon::CDataFileFactory> package;
    if (ChapterFileExists(folder, 1, true)) {
        package = OpenPackage([&] { return std::make_shared<DRAVCommon::CDataFileFactoryPacked>(folder, 1); },
                              failedOtherwise);
        if (package) {
            m_packedModule = true;
            m_manualPath = folder + "\\manual\\rules.htm";
        }
    }
    if (!package && !failedOtherwise && ChapterFileExists(folder, 1, false)) {
        package = OpenPackage([&] { return std::make_shared<DRAVCommon::CDataFileFactoryPath>(folder, 1); },
                              failedOtherwise);
        if (package) {
            m_packedModule = false;
            m_manualPath = folder + "\\manual\\rules.htm";
        }
    }
    if (!package) {
        const bool packed = ChapterFileExists(folder, 1, true), loose = ChapterFileExists(folder, 1, false);
        std::string why = "\"module1.drav\" is missing, and so is \"1\\world.drav\".";
        if (packed && loose) why = "Neither \"module1.drav\" nor the chapter folder \"1\" can be read.";
        else if (packed) why = "\"module1.drav\" cannot be read.";
        else if (loose) why = "The chapter folder \"1\" cannot be read.";
        ShowFatalError(ModuleFailureText(folder, why), "Game Error");
        return false;
    }

    // A chapter record that does not read is a broken module like a missing one.
    try {
        auto first = std::make_shared<CDRAVChapterInfo>(0, 0);
        first->Load(package);
        m_chapterTable.Init(first);
        m_moduleFolder = folder;
        ProbeChapters();
        MakeEngine(1);
    } catch (const CDRAVException& failure) {
        ShowFatalError(ModuleFailureText(folder, Sentence(failure.GetMessage())), "Game Error");
        return false;
    } catch (const std::exception& failure) {
        ShowFatalError(ModuleFailureText(folder, Sentence(failure.what())), "Game Error");
        return false;
    }
    return true;
}

bool CDRAVApp::ChapterFileExists(const std::string& folder, int chapter, bool packed) {
    std::string path = folder + "\\" +
                       (packed ? "module" + std::to_string(chapter) + ".drav" : std::to_string(chapter) + "\\world.drav");
    std::ifstream file(Win32::NativePath(path), std::ios::binary);
    return file.is_open();
}

void CDRAVApp::ProbeChapters() {
    CDRAVChapterInfo* first = m_chapterTable.Find(1);
    if (!first) return;
    int count = first->m_chapterCount;
    for (int n = 2; n <= count; ++n) {
        CDRAVChapterInfo* entry = m_chapterTable.Find(n);
        if (entry && entry->m_state == CDRAVChapterInfo::kStatePresent) continue;
        if (!ChapterFileExists(m_moduleFolder, n, m_packedModule)) continue;
        bool failedOtherwise = false;
        std::shared_ptr<DRAVCommon::CDataFileFactory> package =
            m_packedModule
                ? OpenPackage([&] { return std::make_shared<DRAVCommon::CDataFileFactoryPacked>(m_moduleFolder, n); },
                              failedOtherwise)
                : OpenPackage([&] { return std::make_shared<DRAVCommon::CDataFileFactoryPath>(m_moduleFolder, n); },
                              failedOtherwise);
        if (!package) continue;
        auto record = std::make_shared<CDRAVChapterInfo>(n, count);
        try {
            record->Load(package);
        } catch (const std::exception& failure) {
            // A later chapter that does not read is absent, not the end of the game.
            DRAV_TRACE(DRAVCommon::TRACE_HIGH, "chapter %d absent: %s\n", n, failure.what());
            record = std::make_shared<CDRAVChapterInfo>(n, count);
        }
        m_chapterTable[n] = record;
    }
}

void CDRAVApp::MakeEngine(int chapter) {
    CDRAVChapterInfo* entry = m_chapterTable.Find(chapter);
    if (!entry) throw CDRAVException(DRAV_ERR_BAD_DATA, "no chapter " + std::to_string(chapter));
    if (m_engine && m_engine->GetModule() && m_engine->GetModule()->GetChapter() == chapter) return;
    if (entry->m_state != CDRAVChapterInfo::kStatePresent)
        throw CDRAVException(DRAV_ERR_BAD_DATA, "chapter " + std::to_string(chapter) + " is absent");
    auto engine = std::make_shared<DRAV::CEngine>();
    engine->LoadModule(chapter, DRAV::CModuleVersionRange(GetInternalName(), kVersionMajor, 0), entry->m_package);
    entry->m_engine = engine;
    m_engine = engine;
    CreateAudio();
}

bool CDRAVApp::CreateAudio() {
    std::shared_ptr<IDRAVAudio2> audio = MakeAudio(m_engine->GetModule()->GetPackage());
    m_audio = std::move(audio);
    return true;
}

void CDRAVApp::ReleaseAudio() { m_audio.reset(); }

bool CDRAVApp::InitDirect3D() {
    // The interface's textures belong to the device that goes.
    m_uiManager.ReleaseDeviceObjects();
    m_deviceWrapper.reset();
    m_device.reset();
    m_direct3D.reset();
    m_direct3D.reset(Direct3DCreate9(32));
    if (!m_direct3D) {
        ShowFatalError("Failed to init D3D\n", "Game Error");
        return false;
    }
    m_presentParameters = D3DPRESENT_PARAMETERS{};
    m_presentParameters.Windowed = TRUE;
    m_presentParameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    m_presentParameters.BackBufferFormat = D3DFMT_UNKNOWN;
    m_presentParameters.EnableAutoDepthStencil = TRUE;
    m_presentParameters.AutoDepthStencilFormat = D3DFMT_D16;
    IDirect3DDevice9* device = nullptr;
    if (FAILED(m_direct3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, m_window,
                                        D3DCREATE_HARDWARE_VERTEXPROCESSING, &m_presentParameters, &device)) &&
        FAILED(m_direct3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, m_window,
                                        D3DCREATE_SOFTWARE_VERTEXPROCESSING, &m_presentParameters, &device))) {
        ShowFatalError("Failed to init D3D\n", "Game Error");
        return false;
    }
    m_device.reset(device);
    m_deviceWrapper = std::make_shared<DRAVCommon::CXPDevice>(device);
    try {
        m_deviceWrapper->SetDefaultRenderStates(true);
    } catch (const CDRAVException&) {
        ShowFatalError("Failed to init D3D\n", "Game Error");
        return false;
    }
    m_renderStatesPending = true;
    return true;
}

void CDRAVApp::RestoreDeviceObjects() {
    m_deviceWrapper->SetDefaultRenderStates(true);
    m_renderStatesPending = true;
}

std::uint32_t ComputeUIScalePercent(UINT dpi, const RECT& viewport) {
    std::uint32_t scale = (dpi / 48) * 50;
    const std::int64_t width = viewport.right - viewport.left;
    const std::int64_t height = viewport.bottom - viewport.top;
    // Lowering stops at 100: below it the scale would reach 0 and divide by it.
    while (scale > 100 && width * 100 / scale < 960) scale -= 50;
    while (scale > 100 && height * 100 / scale < 640) scale -= 50;
    return std::max<std::uint32_t>(scale, 100);
}

std::uint32_t GetUIScalePercent() {
    CDRAVApp& app = GetApp();
    HMODULE library = LoadLibraryA("Shcore");
    if (!library) return 100;
    auto getDpi = reinterpret_cast<GetDpiForMonitorProc>(GetProcAddress(library, "GetDpiForMonitor"));
    HMONITOR monitor = MonitorFromWindow(app.GetWindow(), MONITOR_DEFAULTTOPRIMARY);
    if (!getDpi || !monitor) {
        FreeLibrary(library);
        return 100;
    }
    UINT x = 0, y = 0;
    LONG result = getDpi(monitor, MDT_EFFECTIVE_DPI, &x, &y);
    FreeLibrary(library);
    if (result < 0) return 100;
    RECT viewport{0, 0, 0, 0};
    if (app.GetDevice())
        app.GetDevice()->GetViewportRect(viewport);
    else
        GetClientRect(app.GetWindow(), &viewport);
    return ComputeUIScalePercent(x, viewport);
}
