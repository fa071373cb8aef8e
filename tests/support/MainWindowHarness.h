#pragma once

// Fixtures for tests that build the main window: a registry and a shell that
// record instead of touching the system, and stand-in pages that log every
// operation the window runs on them.

#include "app/fMain.h"
#include "backup/fIniManager.h"
#include "pages/PageContext.h"
#include "core/RunTime.h"
#include "pages/SettingsPage.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>
#include <map>
#include <memory>

namespace TestSupport {

class FakeRegistry : public InstallerRegistry {
public:
    std::map<std::string, std::optional<std::string>> keys; // key -> Folder (nullopt: key without the value)
    std::optional<std::string> ReadFolder(const std::string& key) const override
    {
        auto it = keys.find(key);
        if (it == keys.end()) return std::nullopt;
        return it->second ? *it->second : std::string();
    }
};

class RecordingShell : public ShellStarter {
public:
    struct Call {
        std::string program, parameters, workDir;
    };
    std::vector<Call> started;
    std::vector<std::string> opened;
    bool Start(const std::string& program, const std::string& parameters, const std::string& workDir) override
    {
        started.push_back({program, parameters, workDir});
        return true;
    }
    bool OpenUrl(const std::string& url) override
    {
        opened.push_back(url);
        return true;
    }
};

// A page with one field bound to a key of the user file, section "StandIn".
// It logs "load:<key>" and "save:<key>", and can be told to fail: a Reported
// failure is shown by the page ("Error occured:..."), a Thrown one escapes.
class StandInPage : public SettingsPage {
public:
    enum class Failure { None, Reported, Thrown };

    StandInPage(const RunTime& rt, std::string key, QStringList& log)
        : SettingsPage(rt)
        , m_rt(rt)
        , m_key(std::move(key))
        , m_log(log)
        , field(new QLineEdit(this))
    {
        field->setObjectName(QString::fromStdString("edt" + m_key));
        (new QVBoxLayout(this))->addWidget(field);
    }

    // A load failure always escapes the page.
    bool load() override
    {
        loadPage();
        takeSnapshot();
        return true;
    }
    bool changed() const override { return field->text() != m_snapshot; }

    Failure failure = Failure::None;     // of the save
    Failure loadFailure = Failure::None; // of the load
    std::function<void()> onSave;        // runs inside the save

protected:
    void loadPage() override
    {
        m_log << QString::fromStdString("load:" + m_key);
        if (loadFailure == Failure::Thrown) throw std::runtime_error("stand-in failure");
        field->setText(QString::fromStdString(m_rt.UserProfile->ReadString("StandIn", m_key, "")));
    }
    void savePage(Binding::Writes& out) const override
    {
        m_log << QString::fromStdString("save:" + m_key);
        if (onSave) onSave();
        if (failure != Failure::None) throw std::runtime_error("stand-in failure");
        out.keys.push_back({Binding::File::User, "StandIn", m_key, field->text().toStdString()});
    }
    bool showsSaveFailures() const override { return failure != Failure::Thrown; }
    void takeSnapshot() override { m_snapshot = field->text(); }

private:
    const RunTime& m_rt;
    std::string m_key;
    QStringList& m_log;
    QString m_snapshot;

public:
    QLineEdit* field;
};

inline const char* pageKey(PageId id)
{
    switch (id) {
    case PageId::KeyBinds:
        return "KeyBinds";
    case PageId::General:
        return "General";
    case PageId::GameSettings:
        return "GameSettings";
    case PageId::Aliases:
        return "Aliases";
    case PageId::InstantAction:
        return "InstantAction";
    case PageId::IniFiles:
        return "IniFiles";
    }
    return "";
}

// Stand-ins for the five settings pages, all logging into `log`.
inline PageFactory standInPages(QStringList& log)
{
    return [&log](PageId id, const PageContext& context) -> SettingsPage* {
        if (id == PageId::IniFiles) return nullptr;
        return new StandInPage(context.rt, pageKey(id), log);
    };
}

inline Environment testEnvironment(const TempProgramDir& program, std::shared_ptr<FakeRegistry> registry = {},
                                   PageFactory pages = {})
{
    Environment env;
    env.executableDir = program.dir().toStdString();
    env.registry = registry ? registry : std::make_shared<FakeRegistry>();
    env.shell = std::make_shared<RecordingShell>();
    env.pages = std::move(pages);
    // Whatever else runs on the machine and whatever installations it holds
    // stay out of the tests.
    env.gameRunning = [] { return false; };
    env.installations = [] { return std::vector<platform::FoundInstallation>(); };
    return env;
}

// A started main window over stand-in pages on a copy of the demo game.
struct StartedWindow {
    TempGame game;
    TempProgramDir program{configuredProgram(game.systemDir())};
    QStringList log;
    std::unique_ptr<TfrmMain> main;

    StartedWindow()
    {
        Script quiet;
        main = std::make_unique<TfrmMain>(testEnvironment(program, {}, standInPages(log)));
        log.clear();
    }
    StandInPage* page(PageId id) const { return static_cast<StandInPage*>(main->page(id)); }
    QAction* act(const char* name) const { return child<QAction>(main.get(), name); }
};

// The backup manager's dialog, answered by restoring the first backup it lists.
inline int restoreFirstBackup(QDialog& dialog)
{
    auto& manager = dynamic_cast<TfrmIniManager&>(dialog);
    manager.treelist->setCurrentItem(manager.treelist->topLevelItem(0));
    manager.btnRestoreClick();
    return int(QDialog::Accepted);
}

} // namespace TestSupport
