// Identities of the calling process and thread.
#pragma once

#include "wintypes.h"
#include "winerror.h"
#include "minwinbase.h"

// The host's process id.
DWORD GetCurrentProcessId();
// A number unique among the live threads of all processes (the host's thread id).
DWORD GetCurrentThreadId();
// Pseudo-handles that stand for the caller; closing them does nothing.
HANDLE GetCurrentProcess();
HANDLE GetCurrentThread();

// Threads. Each runs lpStartAddress(lpParameter) on a host thread; its handle is signalled when
// it has ended (after its message queue and windows are gone) and GetExitCodeThread gives
// STILL_ACTIVE until then. dwStackSize is ignored; lpThreadAttributes must be NULL. A thread
// still running when the process exits is left alone, never joined.
typedef DWORD (*PTHREAD_START_ROUTINE)(LPVOID lpThreadParameter);
typedef PTHREAD_START_ROUTINE LPTHREAD_START_ROUTINE;
#define CREATE_SUSPENDED 0x00000004
#define STACK_SIZE_PARAM_IS_A_RESERVATION 0x00010000
HANDLE CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, DWORD dwStackSize,
                    LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter, DWORD dwCreationFlags,
                    LPDWORD lpThreadId);
// Ends the calling thread with the exit code; its stack is unwound (destructors run).
[[noreturn]] void ExitThread(DWORD dwExitCode);
// Ends a thread made by CreateThread with dwExitCode. A host thread cannot be stopped from
// outside safely, so the thread ends at its next platform wait (WaitForSingleObject,
// WaitForMultipleObjects, ReadMsgQueue, WriteMsgQueue), at once if it is blocked in one, or
// without running if it is still suspended. Like the platform's, the call does not wait: the
// handle is signalled once the thread has really ended. A thread that has ended already is
// left as it is (TRUE); the caller's own thread ends at once.
BOOL TerminateThread(HANDLE hThread, DWORD dwExitCode);
BOOL GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode);
// Start a thread created with CREATE_SUSPENDED (previous suspend count, or 0xFFFFFFFF).
DWORD ResumeThread(HANDLE hThread);
// The terminal's priority levels, 0 (highest) to 7; they are kept and reported only.
#define THREAD_PRIORITY_TIME_CRITICAL 0
#define THREAD_PRIORITY_HIGHEST 1
#define THREAD_PRIORITY_ABOVE_NORMAL 2
#define THREAD_PRIORITY_NORMAL 3
#define THREAD_PRIORITY_BELOW_NORMAL 4
#define THREAD_PRIORITY_LOWEST 5
#define THREAD_PRIORITY_ABOVE_IDLE 6
#define THREAD_PRIORITY_IDLE 7
#define THREAD_PRIORITY_ERROR_RETURN 0x7FFFFFFF
BOOL SetThreadPriority(HANDLE hThread, int nPriority);
int GetThreadPriority(HANDLE hThread);

// Processes. The image is a terminal path (a bare name is looked for in \Windows); the child
// runs the host file with the same VELA_ROOT. pszCmdLine is the child's GetCommandLineW.
#ifndef STILL_ACTIVE
#define STILL_ACTIVE 0x00000103L
#endif

typedef struct _PROCESS_INFORMATION {
  HANDLE hProcess;
  HANDLE hThread;
  DWORD dwProcessId;
  DWORD dwThreadId;
} PROCESS_INFORMATION, *PPROCESS_INFORMATION, *LPPROCESS_INFORMATION;

typedef struct _STARTUPINFOW {
  DWORD cb;
  LPWSTR lpReserved;
  LPWSTR lpDesktop;
  LPWSTR lpTitle;
  DWORD dwX;
  DWORD dwY;
  DWORD dwXSize;
  DWORD dwYSize;
  DWORD dwXCountChars;
  DWORD dwYCountChars;
  DWORD dwFillAttribute;
  DWORD dwFlags;
  WORD wShowWindow;
  WORD cbReserved2;
  LPBYTE lpReserved2;
  HANDLE hStdInput;
  HANDLE hStdOutput;
  HANDLE hStdError;
} STARTUPINFOW, *LPSTARTUPINFOW;
typedef STARTUPINFOW STARTUPINFO;
typedef LPSTARTUPINFOW LPSTARTUPINFO;

// The terminal's signature: security attributes, inheritance, environment and startup
// information are not supported and must be NULL/FALSE/0 (ERROR_INVALID_PARAMETER otherwise,
// except psiStartInfo, which is ignored). hThread waits and closes like hProcess.
BOOL CreateProcessW(LPCWSTR pszImageName, LPWSTR pszCmdLine, LPSECURITY_ATTRIBUTES psaProcess,
                    LPSECURITY_ATTRIBUTES psaThread, BOOL fInheritHandles, DWORD fdwCreate,
                    LPVOID pvEnvironment, LPWSTR pszCurDir, LPSTARTUPINFOW psiStartInfo,
                    LPPROCESS_INFORMATION pProcInfo);
#define CreateProcess CreateProcessW

// STILL_ACTIVE while the process runs, then its exit code.
BOOL GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode);
BOOL TerminateProcess(HANDLE hProcess, DWORD uExitCode);

// The command line the process was started with, without the program's name (as on the
// terminal). A child started by CreateProcess gets it through VELA_COMMAND_LINE (UTF-8),
// which the platform takes over at start-up and removes from the environment; a program
// started from the host gets its arguments joined by blanks (quoted where they hold one).
LPWSTR GetCommandLineW();
#define GetCommandLine GetCommandLineW
