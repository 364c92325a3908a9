#include "support/engine_fixture.h"

#include "support/temp_directory.h"

namespace engine_fixture {

Fixture BuildFixture(const DesktopDescription &description)
{
    Fixture fixture;
    fixture.Root = UniqueTempDirectory("engine");
    fixture.DesktopDir = fixture.Root + "\\desktop";
    fixture.DeviceDir = fixture.Root + "\\device";
    fixture.MainIniPath = fixture.DesktopDir + "\\vtmain.ini";
    fixture.FtpIniPath = fixture.DesktopDir + "\\vpx_ftp.ini";
    MakeDirectories(fixture.DesktopDir);
    MakeDirectories(fixture.DeviceDir);

    for (const FixtureFile &file : description.Files)
        WriteFileBytes(fixture.DesktopDir + "\\" + file.RelativePath, file.Content, file.Attributes);
    if (!description.ButtonBarPath.empty())
        WriteFileBytes(fixture.DesktopDir + "\\" + description.ButtonBarPath, description.ButtonBarContent);
    if (description.HasFtpIni)
        WriteFileBytes(fixture.FtpIniPath, description.FtpIni);
    // Last, so that a read-only attribute does not stand in the way of the other files.
    WriteFileBytes(fixture.MainIniPath, description.MainIni, description.MainIniAttributes);
    return fixture;
}

}  // namespace engine_fixture
