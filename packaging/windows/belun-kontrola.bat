@echo off
rem belun-kontrola.bat: checks the files dropped onto it in Explorer (or named on its command line)
rem with the belun.exe of its own folder, writes the HTML report of each file beside the file and
rem opens it in the default browser. The messages are Czech without diacritics, so that they read
rem the same in any console code page.
rem
rem The report of NAME (the file's whole name, its extension included) is NAME-protokol.htm beside
rem it, whatever the name's length, spaces or letters. belun takes names of at most 60 characters
rem and reads a name beginning with - or @ as a switch or a list. So it runs in the file's folder
rem (pushd: a network path gets a drive letter) and gets the bare name, or else a list file that
rem holds the name in quotes (written in UTF-8, in which belun reads any name); a report name over
rem 60 characters is written under a short temporary name and then renamed. Temporary files get
rem names that no file has; an existing report is first copied to the temporary name, so that
rem belun still refuses to replace a file that is not one of its reports.
rem
rem A name reaches a command only inside quotes or through delayed expansion, never through CALL
rem (which would expand % and double ^ in it). Explorer passes a name without spaces unquoted, so
rem that an & in it ends the command there: started so, the script ends with EXIT, and cmd never
rem runs what followed the &. (A cmd without %cmdcmdline%, as under wine, is taken to be so.)
rem Lengths are tested on the name padded with "*", which no file name holds, so that no offset
rem passes the text's end (where some cmd versions read on into other text).
setlocal EnableExtensions DisableDelayedExpansion
set "BELUN=%~dp0belun.exe"
set "NEPROSLO=0"
set "HVEZDY=*************************************************************"
set "KONEC=exit /b"
setlocal EnableDelayedExpansion
set "RADEK=!cmdcmdline!"
set "SAM=0"
if "!RADEK!"=="" set "SAM=1"
if not "!RADEK:%~nx0=!"=="!RADEK!" set "SAM=1"
if "!SAM!"=="1" (endlocal & set "KONEC=exit") else endlocal
if "%~1"=="" goto napoveda
if not exist "%BELUN%" goto bez_programu

:dalsi
if "%~1"=="" goto konec
set "CESTA=%~f1"
call :zkontroluj
shift
goto dalsi

:konec
echo.
if "%NEPROSLO%"=="1" echo Nektery soubor se nepodarilo zkontrolovat: duvod je vypsan vyse.
pause
%KONEC% %NEPROSLO%

rem :zkontroluj: checks the file CESTA and opens its report.
:zkontroluj
echo.
echo Kontrola souboru "%CESTA%"
for %%F in ("%CESTA%") do (
  set "SLOZKA=%%~dpF"
  set "NAZEV=%%~nxF"
  set "ATRIBUTY=%%~aF"
)
if not exist "%CESTA%" goto neni_soubor
if /i "%ATRIBUTY:~0,1%"=="d" goto neni_soubor
rem (call ) clears the error level, which pushd sets only when it fails.
(call )
pushd "%SLOZKA%"
if errorlevel 1 goto bez_slozky
set "PROTOKOL=%NAZEV%-protokol.htm"
set "VSTUP=%NAZEV%"
set "VYSTUP=%PROTOKOL%"
set "SEZNAM="
set "DOCASNY="
set "DELKA=%NAZEV%%HVEZDY%"
if not "%DELKA:~60,1%"=="*" goto seznam
if "%NAZEV:~0,1%"=="-" goto seznam
if "%NAZEV:~0,1%"=="@" goto seznam
goto protokol

:seznam
set "SEZNAM=belun-%RANDOM%.lst"
if exist "%SEZNAM%" goto seznam
set "STRANKA="
for /f "tokens=2 delims=:" %%S in ('chcp') do set "STRANKA=%%S"
rem cmd writes in the console's code page; belun reads UTF-8, else Windows-1250.
chcp 65001 >nul 2>nul || chcp 1250 >nul 2>nul
setlocal EnableDelayedExpansion
> "!SEZNAM!" echo "!NAZEV!"
endlocal
if defined STRANKA chcp %STRANKA:.=% >nul 2>nul
set "VSTUP=@%SEZNAM%"

:protokol
set "DELKA=%PROTOKOL%%HVEZDY%"
if not "%DELKA:~60,1%"=="*" goto docasny
if not "%PROTOKOL:~0,1%"=="-" goto spustit
:docasny
set "DOCASNY=belun-%RANDOM%-protokol.htm"
if exist "%DOCASNY%" goto docasny
set "VYSTUP=%DOCASNY%"
if not exist "%PROTOKOL%" goto spustit
copy /b "%PROTOKOL%" "%DOCASNY%" >nul 2>nul
if errorlevel 1 goto nelze_nahradit

:spustit
"%BELUN%" "%VSTUP%" "%VYSTUP%"
set "KOD=%ERRORLEVEL%"
if defined SEZNAM del "%SEZNAM%"
if not defined DOCASNY goto hotovo
if "%KOD%"=="0" move /y "%DOCASNY%" "%PROTOKOL%" >nul
if exist "%DOCASNY%" if "%KOD%"=="0" set "KOD=1"
if exist "%DOCASNY%" del "%DOCASNY%"
if not "%KOD%"=="0" echo Docasny nazev protokolu "%PROTOKOL%" byl %DOCASNY%.

:hotovo
if not "%KOD%"=="0" goto neprobehla
echo.
echo Protokol o kontrole: "%SLOZKA%%PROTOKOL%"
echo Otevira se v prohlizeci.
start "" "%PROTOKOL%"
popd
exit /b 0

:nelze_nahradit
echo Protokol "%PROTOKOL%" nelze nahradit (je to slozka, nebo jej nelze cist).
:neprobehla
echo.
echo Kontrola neprobehla: duvod je vypsan vyse.
popd
set "NEPROSLO=1"
exit /b 1

:neni_soubor
echo Soubor nebyl nalezen (nebo je to slozka). Nazev bez mezer se znakem ^& , ; nebo =
echo predava Pruzkumnik rozdeleny: takovy soubor prejmenujte.
set "NEPROSLO=1"
exit /b 1

:bez_slozky
echo Do slozky souboru nelze prejit.
set "NEPROSLO=1"
exit /b 1

:bez_programu
echo Program belun.exe neni ve slozce "%~dp0".
echo Rozbalte cely archiv a spoustejte belun-kontrola.bat z rozbalene slozky.
pause
%KONEC% 1

:napoveda
echo belun-kontrola: kontrola souboru DUV programem belun.exe
echo.
echo Pretahnete soubor XML mysi na ikonu belun-kontrola.bat (i vice souboru najednou).
echo Vedle kazdeho souboru vznikne protokol NAZEV-protokol.htm a otevre se v prohlizeci
echo (NAZEV je cely nazev souboru i s priponou, napr. duv2006.xml-protokol.htm).
echo.
echo Z prikazoveho radku:  belun-kontrola.bat C:\data\duv2006.xml
echo Podrobnosti jsou v souboru CTI-ME.txt.
echo.
pause
%KONEC% 1
