// Prints each finding of a DUV document on a line (tab-separated, UTF-8) and then the totals.
//
//     mono PrintFindings.exe duv.xml [chyby.htm chyby.csv ...]
//
// Each further name is a report, its format given by its ending (.htm .txt .csv .xml .json).
using System;
using System.IO;
using System.Text;

static class PrintFindings
{
    static int Main(string[] args)
    {
        var output = new StreamWriter(Console.OpenStandardOutput(), new UTF8Encoding(false)) { NewLine = "\n" };
        try
        {
            using (var check = new Tavon.Check(onFinding: f => { Print(output, f); return true; }))
            {
                for (int i = 1; i < args.Length; ++i) check.AddReport(ReportFormatOf(args[i]), args[i], args[0]);
                check.FeedFile(args[0]);
                Tavon.Totals totals = check.Finish();
                output.WriteLine($"E {totals.Errors} W {totals.Warnings}");
            }
            return 0;
        }
        catch (Tavon.TavonException e)
        {
            Console.Error.WriteLine(e.Message);
            return 13;
        }
        finally
        {
            output.Flush();
        }
    }

    static void Print(TextWriter output, Tavon.Finding f)
    {
        string lines = string.Join(",", f.Lines) + (f.MoreLines ? "+" : "");
        output.WriteLine(string.Join("\t", f.Code, f.Severity, f.Line?.ToString() ?? (f.WholeEmployer ? "*" : ""), lines, f.Employer,
                                     f.Employee, f.Field, f.Value, f.Expected));
    }

    static Tavon.ReportFormat ReportFormatOf(string name)
    {
        switch (Path.GetExtension(name).ToLowerInvariant())
        {
            case ".txt": return Tavon.ReportFormat.Text;
            case ".csv": return Tavon.ReportFormat.Csv;
            case ".xml": return Tavon.ReportFormat.Xml;
            case ".json": return Tavon.ReportFormat.Json;
            default: return Tavon.ReportFormat.Html;
        }
    }
}
