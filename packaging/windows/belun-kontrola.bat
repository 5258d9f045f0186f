@echo off
rem belun-kontrola.bat: checks the files dropped onto it in Explorer (or named on its command line)
rem with the belun.exe of its own folder, writes the HTML report of each file beside the file and
rem opens it in the default browser. The messages are Czech without diacritics, so that they read
rem the same in any console code page.
rem
rem belun takes names of at most 60 characters and the report format from the last dot of the
rem report's name. So it runs in the folder of the file (pushd: a network path gets a drive letter)
rem and is given the bare file name and the report name NAME-protokol.htm: NAME is the file's name
rem without its extension, its dots turned into "_", cut to 45 characters. A file name longer than
rem 60 characters goes through a list file (whose names have no such limit but cannot hold spaces),
rem or else as the short 8.3 name, where the file system has one.
setlocal EnableExtensions DisableDelayedExpansion
set "BELUN=%~dp0belun.exe"
set "NEPROSLO=0"
if "%~1"=="" goto napoveda
if not exist "%BELUN%" goto bez_programu

:dalsi
if "%~1"=="" goto konec
call :zkontroluj %1
shift
goto dalsi

:konec
echo.
if "%NEPROSLO%"=="1" echo Nektery soubor se nepodarilo zkontrolovat: duvod je vypsan vyse.
pause
exit /b %NEPROSLO%

rem :zkontroluj FILE: checks one file and opens its report.
:zkontroluj
echo.
echo Kontrola souboru "%~f1"
if not exist "%~f1" goto neni_soubor
set "ATRIBUTY=%~a1"
if /i "%ATRIBUTY:~0,1%"=="d" goto neni_soubor
rem (call ) clears the error level, which pushd sets only when it fails.
(call )
pushd "%~dp1"
if errorlevel 1 goto bez_slozky
set "PROTOKOL=%~n1"
if not defined PROTOKOL set "PROTOKOL=duv"
set "PROTOKOL=%PROTOKOL:.=_%"
set "PROTOKOL=%PROTOKOL:~0,45%-protokol.htm"
set "SOUBOR=%~nx1"
set "SEZNAM="
if "%SOUBOR:~60%"=="" goto spustit
if not "%SOUBOR: =%"=="%SOUBOR%" goto kratky_nazev
set "SEZNAM=belun-seznam.tmp"
setlocal EnableDelayedExpansion
> "!SEZNAM!" echo !SOUBOR!
endlocal
set "SOUBOR=@%SEZNAM%"
goto spustit
:kratky_nazev
set "SOUBOR=%~snx1"
:spustit
"%BELUN%" "%SOUBOR%" "%PROTOKOL%"
set "KOD=%ERRORLEVEL%"
if defined SEZNAM del "%SEZNAM%"
if not "%KOD%"=="0" goto neprobehla
echo.
echo Protokol o kontrole: "%~dp1%PROTOKOL%"
echo Otevira se v prohlizeci.
start "" "%PROTOKOL%"
popd
exit /b 0

:neprobehla
echo.
echo Kontrola neprobehla: duvod je vypsan vyse. Je-li nazev souboru prilis dlouhy,
echo soubor prejmenujte (nejvyse 60 znaku, nebo bez mezer).
popd
set "NEPROSLO=1"
exit /b 1

:neni_soubor
echo Soubor nebyl nalezen (nebo je to slozka).
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
exit /b 1

:napoveda
echo belun-kontrola: kontrola souboru DUV programem belun.exe
echo.
echo Pretahnete soubor XML mysi na ikonu belun-kontrola.bat (i vice souboru najednou).
echo Vedle kazdeho souboru vznikne protokol NAZEV-protokol.htm a otevre se v prohlizeci.
echo.
echo Z prikazoveho radku:  belun-kontrola.bat C:\data\duv2006.xml
echo Podrobnosti jsou v souboru CTI-ME.txt.
echo.
pause
exit /b 1
