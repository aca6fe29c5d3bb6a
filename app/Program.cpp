#include "app/Program.h"

#include "app/MainWindow.h"
#include "app/TimelineCommands.h"
#include "ids/Controls.h"
#include "ids/MenuIds.h"
#include "media/MediaPlayer.h"
#include "project/ScriptExport.h"
#include "shapes/ShapeCommands.h"
#include "shapes/ShapeSet.h"
#include "toolkit/UiToolkit.h"

namespace visemer {

Program::Program(UiToolkit& ui, MediaPlayer& media, SteadyClock& clock)
    : ui_(ui), media_(media), loop_(ui), timeline_(ui), about_(ui),
      preview_(ui, media, clock, timeline_, audio_),
      projectCommands_(ui, media, timeline_, audio_, files_, project_) {
    registerTimelineCommands(loop_, timeline_);
    loop_.onMenu(MenuId::New, [this] { projectCommands_.New(); });
    loop_.onMenu(MenuId::Open, [this] { projectCommands_.Open(); });
    loop_.onMenu(MenuId::Save, [this] { projectCommands_.Save(); });
    loop_.onMenu(MenuId::SaveAs, [this] { projectCommands_.SaveAs(); });
    loop_.onMenu(MenuId::ExportScript, [this] { ExportScript(ui_, timeline_, files_); });
    loop_.onMenu(MenuId::LoadAudio, [this] { LoadAudio(ui_, media_, audio_, files_); });
    loop_.onMenu(MenuId::Play, [this] { preview_.PlayPreview(Preview::Trigger::EnterKey); });
    loop_.onControl(Control::PlayButton,
                    [this] { preview_.PlayPreview(Preview::Trigger::PlayButton); });
    loop_.onMenu(MenuId::LoadImages, [this] { LoadImages(ui_); });
    loop_.onMenu(MenuId::DefaultImages, [this] { DefaultImages(ui_); });
    loop_.onMenu(MenuId::Help, [this] { OpenHelp(ui_); });
    loop_.onMenu(MenuId::About, [this] { about_.open(); });
    loop_.onAboutClosed([this] { about_.close(); });
    loop_.onLinkClick(Control::MakerLink, [this] { about_.followMakerLink(); });
    loop_.onLinkClick(Control::ScriptAuthorLink, [this] { about_.followScriptAuthorLink(); });

    using Stage = ShutdownSequence::Stage;
    shutdown_.add(Stage::ProjectFile, [this] { project_.closeProject(); });
    shutdown_.add(Stage::AudioClips, [this] { media_.FreeMedia(); });
    shutdown_.add(Stage::Toolkit, [this] { ui_.shutdown(); });
    shutdown_.add(Stage::OpenFiles, [this] { files_.closeAll(); });
}

bool Program::start() {
    ShapeSet::loadDefaults(ui_);
    media_.InitMedia();
    if (!buildMainWindow(ui_))
        return false;
    timeline_.setCurrentRow(0);
    return true;
}

int Program::run() {
    if (start())
        loop_.run();
    shutdown();
    return 0;
}

} // namespace visemer
