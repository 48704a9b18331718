// Starts veltrane-lsp for BlitzMax files and stops it with the window.
import * as vscode from "vscode";
import { LanguageClient, LanguageClientOptions, ServerOptions } from "vscode-languageclient/node";

let client: LanguageClient | undefined;

export async function activate(context: vscode.ExtensionContext): Promise<void> {
  const settings = vscode.workspace.getConfiguration("veltrane");
  const command = settings.get<string>("serverPath") || "veltrane-lsp";
  const root = settings.get<string>("root") || "";
  const server: ServerOptions = { command, args: [] };
  const options: LanguageClientOptions = {
    documentSelector: [{ scheme: "file", language: "blitzmax" }],
    // No file events here: the server registers the watchers it needs, and
    // both would scan an installation twice for one change.
    initializationOptions: root ? { root } : {},
  };
  client = new LanguageClient("veltrane", "Veltrane", server, options);
  context.subscriptions.push(
    vscode.workspace.onDidChangeConfiguration(async (change) => {
      if (change.affectsConfiguration("veltrane") && client) {
        await client.restart();
      }
    }),
  );
  await client.start();
}

export async function deactivate(): Promise<void> {
  if (client) await client.stop();
}
