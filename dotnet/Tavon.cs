// Checks DUV salary-survey documents from C# (.NET or Mono) through the C interface of the
// validator's library: tavon.dll on Windows (in the ZIP beside belun.exe), libtavon.so.1 on Linux.
//
//     using (var check = new Tavon.Check(onFinding: f => { Console.WriteLine(f.Code); return true; }))
//     {
//         check.AddReport(Tavon.ReportFormat.Html, "chyby.htm", "duv.xml");
//         check.FeedFile("duv.xml");
//         Tavon.Totals totals = check.Finish();
//     }
//
// Texts cross the interface in UTF-8 both ways, whatever the system's code page.
using System;
using System.Collections.Generic;
using System.IO;
using System.Runtime.ExceptionServices;
using System.Runtime.InteropServices;
using System.Text;

namespace Tavon
{
    public enum ReportFormat { Html = 0, Text = 1, Csv = 2, Xml = 3, Json = 4 }

    public sealed class Finding
    {
        public string Code { get; internal set; }         // e.g. "EL051"
        public char Severity { get; internal set; }       // 'E' error or 'W' warning
        public ulong? Line { get; internal set; }         // the document's line; null where none
        public ulong[] Lines { get; internal set; }       // one person's records: the first six lines
        public bool MoreLines { get; internal set; }      // the person has more records than Lines
        public string Employer { get; internal set; }     // the employer's IČO, or ""
        public string Employee { get; internal set; }     // the employee's identifier, or ""
        public string Field { get; internal set; }        // the element, e.g. "AA0138", or ""
        public string Value { get; internal set; }        // the value found, or ""
        public string Expected { get; internal set; }     // what was expected, or ""
        public string Description { get; internal set; }  // the code's description in Czech
        public bool WholeEmployer { get; internal set; }  // all records of the employer, no one line
    }

    public sealed class Totals
    {
        public long Errors { get; internal set; }
        public long Warnings { get; internal set; }
        public long WarningsNotReported { get; internal set; }
        public bool ReadToEnd { get; internal set; }
    }

    public sealed class Result
    {
        public List<Finding> Findings { get; } = new List<Finding>();
        public Totals Totals { get; internal set; }
    }

    // A failure of the library: Status is the C interface's tavon_status, Message says why.
    public sealed class TavonException : Exception
    {
        public int Status { get; }
        public TavonException(int status, string message) : base(message) { Status = status; }
    }

    internal static class Native
    {
        const string Library = "tavon";  // tavon.dll; on Linux libtavon.so (Mono: see Tavon.dll.config)

        [StructLayout(LayoutKind.Sequential)]
        internal struct Error
        {
            public int Status;
            [MarshalAs(UnmanagedType.ByValArray, SizeConst = 512)] public byte[] Message;
        }

        [StructLayout(LayoutKind.Sequential)]
        internal struct FindingStruct
        {
            public IntPtr Code;
            public byte Severity;
            public ulong Line;
            public IntPtr Lines;
            public UIntPtr LineCount;
            public int MoreLines;
            public IntPtr Employer, Employee, Field, Value, Expected, Description;
            public int WholeEmployer;
        }

        [StructLayout(LayoutKind.Sequential)]
        internal struct TotalsStruct
        {
            public long Errors, Warnings, WarningsNotReported;
            public int ReadToEnd;
        }

        [StructLayout(LayoutKind.Sequential)]
        internal struct Options
        {
            public int ReportWarnings;
            public IntPtr Data;
            public IntPtr OnFinding;
            public IntPtr Context;
        }

        [UnmanagedFunctionPointer(CallingConvention.Cdecl)]
        internal delegate int FindingCallback(IntPtr context, IntPtr finding);
        [UnmanagedFunctionPointer(CallingConvention.Cdecl)]
        internal delegate int WriteCallback(IntPtr context, IntPtr bytes, UIntPtr size);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern IntPtr tavon_version();
        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int tavon_data_load_folder(byte[] folder, out IntPtr data, ref Error error);
        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern IntPtr tavon_data_describe(IntPtr data);
        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern void tavon_data_free(IntPtr data);
        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int tavon_check_new(ref Options options, out IntPtr check, ref Error error);
        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int tavon_check_add_report_file(IntPtr check, int format, byte[] path,
                                                               byte[] documentName, ref Error error);
        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int tavon_check_add_report_callback(IntPtr check, int format, WriteCallback write,
                                                                   IntPtr context, byte[] documentName,
                                                                   ref Error error);
        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int tavon_check_feed(IntPtr check, byte[] bytes, UIntPtr size, ref Error error);
        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int tavon_check_feed_file(IntPtr check, byte[] path, ref Error error);
        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int tavon_check_next_document(IntPtr check, ref Error error);
        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int tavon_check_finish(IntPtr check, out TotalsStruct totals, ref Error error);
        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern void tavon_check_free(IntPtr check);

        // A string as the C interface takes it: UTF-8, NUL-terminated.
        internal static byte[] Utf8(string text)
        {
            byte[] encoded = Encoding.UTF8.GetBytes(text ?? "");
            Array.Resize(ref encoded, encoded.Length + 1);
            return encoded;
        }

        // A NUL-terminated UTF-8 string the C interface handed out.
        internal static string Text(IntPtr text)
        {
            if (text == IntPtr.Zero) return "";
            int length = 0;
            while (Marshal.ReadByte(text, length) != 0) ++length;
            byte[] bytes = new byte[length];
            Marshal.Copy(text, bytes, 0, length);
            return Encoding.UTF8.GetString(bytes);
        }

        internal static Error NewError() => new Error { Message = new byte[512] };

        internal static string Message(Error error)
        {
            int length = Array.IndexOf(error.Message, (byte)0);
            return Encoding.UTF8.GetString(error.Message, 0, length < 0 ? error.Message.Length : length);
        }
    }

    // A data set (code lists, registers, tariffs) read from the files of a folder.
    public sealed class DataSet : IDisposable
    {
        internal IntPtr Handle;

        public DataSet(string folder)
        {
            var error = Native.NewError();
            int status = Native.tavon_data_load_folder(Native.Utf8(folder), out Handle, ref error);
            if (status != 0) throw new TavonException(status, Native.Message(error));
        }

        public string Describe() => Native.Text(Native.tavon_data_describe(Handle));

        public void Dispose()
        {
            if (Handle != IntPtr.Zero) Native.tavon_data_free(Handle);
            Handle = IntPtr.Zero;
        }
    }

    // One check, fed the document in pieces. onFinding gets every finding in the order of reading;
    // returning false from it stops the check (Finish then throws with the status "stopped", 10).
    public sealed class Check : IDisposable
    {
        IntPtr handle;
        readonly DataSet data;  // must outlive the check
        readonly Func<Finding, bool> onFinding;
        readonly Native.FindingCallback findingCallback;  // kept alive while the library holds it
        readonly List<Native.WriteCallback> writers = new List<Native.WriteCallback>();
        Exception callbackFailure;

        public Check(bool reportWarnings = true, DataSet data = null, Func<Finding, bool> onFinding = null)
        {
            this.data = data;
            this.onFinding = onFinding;
            findingCallback = Deliver;
            var options = new Native.Options
            {
                ReportWarnings = reportWarnings ? 1 : 0,
                Data = data != null ? data.Handle : IntPtr.Zero,
                OnFinding = onFinding != null ? Marshal.GetFunctionPointerForDelegate(findingCallback) : IntPtr.Zero,
            };
            var error = Native.NewError();
            int status = Native.tavon_check_new(ref options, out handle, ref error);
            if (status != 0) throw new TavonException(status, Native.Message(error));
        }

        int Deliver(IntPtr context, IntPtr pointer)
        {
            try
            {
                var f = Marshal.PtrToStructure<Native.FindingStruct>(pointer);
                var lines = new ulong[(int)f.LineCount];
                for (int i = 0; i < lines.Length; ++i) lines[i] = (ulong)Marshal.ReadInt64(f.Lines, 8 * i);
                var finding = new Finding
                {
                    Code = Native.Text(f.Code), Severity = (char)f.Severity,
                    Line = f.Line == 0 ? (ulong?)null : f.Line, Lines = lines, MoreLines = f.MoreLines != 0,
                    Employer = Native.Text(f.Employer), Employee = Native.Text(f.Employee),
                    Field = Native.Text(f.Field), Value = Native.Text(f.Value),
                    Expected = Native.Text(f.Expected), Description = Native.Text(f.Description),
                    WholeEmployer = f.WholeEmployer != 0,
                };
                return onFinding(finding) ? 0 : 1;
            }
            catch (Exception e)  // no exception may cross the C library
            {
                callbackFailure = e;
                return 1;
            }
        }

        void Checked(int status, Native.Error error)
        {
            if (callbackFailure != null)
            {
                Exception failure = callbackFailure;
                callbackFailure = null;
                ExceptionDispatchInfo.Capture(failure).Throw();  // the caller's own exception
            }
            if (status != 0) throw new TavonException(status, Native.Message(error));
        }

        // A report written to a file as the check goes, put in place when the check finishes well.
        public void AddReport(ReportFormat format, string path, string documentName)
        {
            var error = Native.NewError();
            Checked(Native.tavon_check_add_report_file(handle, (int)format, Native.Utf8(path),
                                                       Native.Utf8(documentName), ref error), error);
        }

        // A report written to a stream (a MemoryStream, a network stream, ...).
        public void AddReport(ReportFormat format, Stream stream, string documentName)
        {
            Native.WriteCallback write = (context, bytes, size) =>
            {
                try
                {
                    var buffer = new byte[(int)size];
                    Marshal.Copy(bytes, buffer, 0, buffer.Length);
                    stream.Write(buffer, 0, buffer.Length);
                    return 0;
                }
                catch (Exception e)
                {
                    callbackFailure = e;
                    return 1;
                }
            };
            writers.Add(write);
            var error = Native.NewError();
            Checked(Native.tavon_check_add_report_callback(handle, (int)format, write, IntPtr.Zero,
                                                           Native.Utf8(documentName), ref error), error);
        }

        public void Feed(byte[] bytes, int count)
        {
            if (count < 0 || count > bytes.Length) throw new ArgumentOutOfRangeException(nameof(count));
            var error = Native.NewError();
            Checked(Native.tavon_check_feed(handle, bytes, (UIntPtr)count, ref error), error);
        }

        public void FeedFile(string path)
        {
            var error = Native.NewError();
            Checked(Native.tavon_check_feed_file(handle, Native.Utf8(path), ref error), error);
        }

        // The document fed so far is complete; the next is its continuation (files of a list).
        public void NextDocument()
        {
            var error = Native.NewError();
            Checked(Native.tavon_check_next_document(handle, ref error), error);
        }

        public Totals Finish()
        {
            var error = Native.NewError();
            Checked(Native.tavon_check_finish(handle, out Native.TotalsStruct t, ref error), error);
            return new Totals
            {
                Errors = t.Errors, Warnings = t.Warnings, WarningsNotReported = t.WarningsNotReported,
                ReadToEnd = t.ReadToEnd != 0,
            };
        }

        public void Dispose()
        {
            if (handle != IntPtr.Zero) Native.tavon_check_free(handle);
            handle = IntPtr.Zero;
            GC.KeepAlive(data);
        }
    }

    public static class Validator
    {
        public static string Version => Native.Text(Native.tavon_version());

        // The findings and totals of a document file.
        public static Result CheckFile(string path, bool reportWarnings = true, DataSet data = null)
        {
            var result = new Result();
            using (var check = new Check(reportWarnings, data, f => { result.Findings.Add(f); return true; }))
            {
                check.FeedFile(path);
                result.Totals = check.Finish();
            }
            return result;
        }

        // A report of a document file, as `belun DOCUMENT REPORT` writes it.
        public static Totals WriteReport(string path, ReportFormat format, string reportPath,
                                         bool reportWarnings = true, DataSet data = null)
        {
            using (var check = new Check(reportWarnings, data))
            {
                check.AddReport(format, reportPath, path);
                check.FeedFile(path);
                return check.Finish();
            }
        }
    }
}
